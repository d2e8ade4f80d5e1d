#include "server/Sqlite.h"

namespace server {

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close_v2(db_);
}

bool SqliteDatabase::Open(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK)
        return false;
    // Publishing runs in another process: a writer there makes ours wait rather than fail.
    sqlite3_busy_timeout(db_, 10000);
    return Execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
}

bool SqliteDatabase::Execute(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string SqliteDatabase::LastError() const {
    return db_ ? sqlite3_errmsg(db_) : "no database";
}

SqliteStatement::SqliteStatement(const SqliteDatabase& db, const char* sql) {
    if (sqlite3_prepare_v2(db.Get(), sql, -1, &stmt_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(stmt_);
}

void SqliteStatement::Reset() {
    if (stmt_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    lastResult_ = SQLITE_OK;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
    if (stmt_)
        sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, int64_t number) {
    if (stmt_)
        sqlite3_bind_int64(stmt_, index, number);
    return *this;
}

bool SqliteStatement::Step() {
    if (!stmt_) {
        lastResult_ = SQLITE_MISUSE;
        return false;
    }
    lastResult_ = sqlite3_step(stmt_);
    return lastResult_ == SQLITE_ROW;
}

int64_t SqliteStatement::Int(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string SqliteStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
}

SqliteTransaction::SqliteTransaction(SqliteDatabase& db) : db_(db) {
    began_ = db_.Execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
    if (began_ && !done_)
        db_.Execute("ROLLBACK");
}

bool SqliteTransaction::Commit() {
    done_ = began_ && db_.Execute("COMMIT");
    return done_;
}

}  // namespace server

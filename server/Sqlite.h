// Small owners of an SQLite connection and a prepared statement.
#pragma once
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace server {

class SqliteDatabase {
public:
    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens (creating) the file in WAL mode with a busy timeout, so other processes' writes are waited for.
    bool Open(const std::string& path);
    // Runs statements that return no rows.
    bool Execute(const char* sql);
    sqlite3* Get() const { return db_; }
    std::string LastError() const;

private:
    sqlite3* db_ = nullptr;
};

class SqliteStatement {
public:
    SqliteStatement(const SqliteDatabase& db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool Ok() const { return stmt_ != nullptr; }
    // Makes a used statement ready to run again, with no parameters bound.
    void Reset();
    // Parameters count from 1.
    SqliteStatement& Bind(int index, std::string_view text);
    SqliteStatement& Bind(int index, int64_t number);
    // True while a row is available; Done() tells whether the statement ran to its end without error.
    bool Step();
    bool Done() const { return lastResult_ == SQLITE_DONE; }
    int64_t Int(int column) const;
    std::string Text(int column) const;
    int Columns() const { return stmt_ ? sqlite3_column_count(stmt_) : 0; }
    bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int lastResult_ = SQLITE_OK;
};

// BEGIN IMMEDIATE ... COMMIT; rolls back unless Commit() succeeded.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteDatabase& db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    bool Began() const { return began_; }
    bool Commit();

private:
    SqliteDatabase& db_;
    bool began_ = false;
    bool done_ = false;
};

}  // namespace server

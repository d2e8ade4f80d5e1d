#include "server/SqliteToPostgres.h"

#include "server/PgConnection.h"
#include "server/PostgresStorage.h"
#include "server/Sqlite.h"
#include "server/SqliteStorage.h"

#include <filesystem>

namespace server {

namespace {

struct Table {
    const char* name;
    const char* columns;
    int64_t MoveResult::*counted;  // where the number of rows goes, or null
};

const Table kTables[] = {
    {"products", "name, product_id, update_requested", &MoveResult::products},
    {"releases", "id, product, version, date, content, seq", &MoveResult::releases},
    {"daily", "day, version, kind, count", &MoveResult::counts},
    {"installs", "address, first_seen, last_seen, reports, first_day, first_version", &MoveResult::installs},
    {"install_days", "day, version, count", nullptr},
};

// A value in COPY's text format: backslash escapes for the bytes that separate fields and rows.
void AppendCopyField(std::string& line, const std::string& value) {
    for (const char c : value) {
        switch (c) {
        case '\\': line += "\\\\"; break;
        case '\t': line += "\\t"; break;
        case '\n': line += "\\n"; break;
        case '\r': line += "\\r"; break;
        default: line += c;
        }
    }
}

// Streams every row of the table from SQLite into PostgreSQL; the number of rows, or -1 with error set.
int64_t CopyTable(SqliteDatabase& sqlite, PgConnection& postgres, const Table& table, std::string& error) {
    const std::string select = std::string("SELECT ") + table.columns + " FROM " + table.name;
    SqliteStatement rows(sqlite, select.c_str());
    if (!rows.Ok()) {
        error = std::string("cannot read ") + table.name + ": " + sqlite.LastError();
        return -1;
    }
    const PgResult copy = postgres.Execute(std::string("COPY ") + table.name + "(" + table.columns + ") FROM STDIN");
    if (!copy.CopyingIn()) {
        error = std::string("cannot write ") + table.name + ": " + postgres.Error();
        return -1;
    }
    int64_t count = 0;
    bool sent = true;
    std::string line;
    while (sent && rows.Step()) {
        line.clear();
        for (int column = 0; column < rows.Columns(); ++column) {
            if (column > 0)
                line += '\t';
            if (rows.IsNull(column))
                line += "\\N";
            else
                AppendCopyField(line, rows.Text(column));
        }
        line += '\n';
        sent = PQputCopyData(postgres.Get(), line.data(), static_cast<int>(line.size())) == 1;
        ++count;
    }
    const bool read = rows.Done();
    sent = PQputCopyEnd(postgres.Get(), read && sent ? nullptr : "the copy was abandoned") == 1 && sent;
    const PgResult ended = postgres.NextResult();
    while (postgres.NextResult().Exists()) {
    }
    if (!read) {
        error = std::string("cannot read ") + table.name + ": " + sqlite.LastError();
        return -1;
    }
    if (!sent || !ended.Ok()) {
        error = std::string("cannot write ") + table.name + ": " + ended.Error();
        return -1;
    }
    return count;
}

}  // namespace

MoveResult MoveToPostgres(const std::string& sqlitePath, const std::string& address) {
    MoveResult result;
    if (!IsPostgresAddress(address)) {
        result.error = "the database must be a well-formed postgresql:// address";
        return result;
    }
    std::error_code missing;
    if (!std::filesystem::is_regular_file(sqlitePath, missing)) {
        result.error = "there is no " + sqlitePath;
        return result;
    }
    SqliteStorage upgraded;
    PostgresStorage target(address);
    if (!upgraded.Open(sqlitePath)) {
        result.error = upgraded.Error();
        return result;
    }
    if (!target.Open()) {
        result.error = "PostgreSQL: " + target.Error();
        return result;
    }
    SqliteDatabase sqlite;
    PgConnection postgres(address);
    if (!sqlite.Open(sqlitePath) || !sqlite.Execute("BEGIN")) {
        result.error = sqlitePath + ": " + sqlite.LastError();
        return result;
    }
    PgTransaction transaction(postgres);
    // Nobody else writes the tables until the move is committed.
    const PgResult locked = postgres.Execute("LOCK TABLE products, releases, daily, installs, install_days");
    const PgResult rows = postgres.Execute(
        "SELECT (SELECT count(*) FROM products) + (SELECT count(*) FROM releases) + (SELECT count(*) FROM daily) + "
        "(SELECT count(*) FROM installs) + (SELECT count(*) FROM install_days)");
    if (!transaction.Began() || !locked.Ok() || !rows.Ok()) {
        result.error = "PostgreSQL: " + WithoutPassword(postgres.Error(), address);
        return result;
    }
    if (rows.Int(0, 0) != 0) {
        result.error = "the PostgreSQL database holds data already; the move goes into an empty one only";
        return result;
    }
    for (const Table& table : kTables) {
        const int64_t count = CopyTable(sqlite, postgres, table, result.error);
        if (count < 0) {
            result.error = WithoutPassword(result.error, address);
            return result;
        }
        if (table.counted)
            result.*table.counted = count;
    }
    // The next release staged, and the next one going live, come after the moved ones.
    const PgResult numbered = postgres.Execute(
        "SELECT setval(pg_get_serial_sequence('releases', 'id'), coalesce(max(id), 0) + 1, false), "
        "setval('release_seq', coalesce(max(seq), 0) + 1, false) FROM releases");
    if (!numbered.Ok() || !transaction.Commit()) {
        result.error = "PostgreSQL: " + WithoutPassword(postgres.Error(), address);
        return result;
    }
    sqlite.Execute("COMMIT");
    return result;
}

}  // namespace server

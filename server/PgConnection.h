// Small owners of a libpq connection and a query result, and a transaction that rolls back unless committed.
// A connection prepares each statement text once and runs it by name after that, so a request costs one
// round trip and no parsing on the database's side.
#pragma once
#include <libpq-fe.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace server {

struct PgResultFree {
    void operator()(PGresult* result) const { PQclear(result); }
};

// A query's result; Ok() when the statement ran (with or without rows).
class PgResult {
public:
    explicit PgResult(PGresult* result = nullptr) : result_(result) {}
    bool Ok() const;
    bool Exists() const { return result_ != nullptr; }
    // A COPY ... FROM STDIN waiting for its rows.
    bool CopyingIn() const { return result_ && PQresultStatus(result_.get()) == PGRES_COPY_IN; }
    int Rows() const { return result_ ? PQntuples(result_.get()) : 0; }
    std::string Text(int row, int column) const;
    int64_t Int(int row, int column) const;
    bool IsNull(int row, int column) const { return PQgetisnull(result_.get(), row, column) != 0; }
    // The number of rows an INSERT, UPDATE or DELETE touched.
    int64_t Affected() const;
    std::string Error() const;

private:
    std::unique_ptr<PGresult, PgResultFree> result_;
};

// A parameter as libpq takes it: text, or SQL NULL.
using PgParam = std::optional<std::string>;

class PgConnection {
public:
    // Connects to a connection string (a postgresql:// address or key=value pairs); Connected() tells how it
    // went and Error() why not.
    explicit PgConnection(const std::string& address);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    bool Connected() const { return conn_ && PQstatus(conn_) == CONNECTION_OK; }
    std::string Error() const;

    // Runs one statement with $1... parameters, prepared on its first use on this connection.
    PgResult Run(const char* sql, const std::vector<PgParam>& params = {});
    // Runs statements without parameters (several may be separated by ';').
    PgResult Execute(const std::string& sql);
    // The next result of a statement sent before (none once all have been taken).
    PgResult NextResult() { return PgResult(PQgetResult(conn_)); }
    PGconn* Get() const { return conn_; }

private:
    PGconn* conn_ = nullptr;
    std::unordered_map<const char*, std::string> prepared_;  // statement text -> its name here
};

// BEGIN ... COMMIT; rolls back unless Commit() succeeded.
class PgTransaction {
public:
    explicit PgTransaction(PgConnection& connection, const char* begin = "BEGIN");
    ~PgTransaction();
    PgTransaction(const PgTransaction&) = delete;
    PgTransaction& operator=(const PgTransaction&) = delete;

    bool Began() const { return began_; }
    bool Commit();

private:
    PgConnection& connection_;
    bool began_ = false;
    bool done_ = false;
};

// Whether text is a postgresql:// (or postgres://) address that libpq can read.
bool IsPostgresAddress(const std::string& text);
// A message about the address with every occurrence of its password replaced, so none is ever printed.
std::string WithoutPassword(std::string message, const std::string& address);

}  // namespace server

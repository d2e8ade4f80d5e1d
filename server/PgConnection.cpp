#include "server/PgConnection.h"

#include <cstdlib>

namespace server {

bool PgResult::Ok() const {
    const ExecStatusType status = result_ ? PQresultStatus(result_.get()) : PGRES_FATAL_ERROR;
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

std::string PgResult::Text(int row, int column) const {
    const PGresult* result = result_.get();
    if (!result || row >= PQntuples(result) || column >= PQnfields(result))
        return {};
    return std::string(PQgetvalue(result, row, column), static_cast<size_t>(PQgetlength(result, row, column)));
}

int64_t PgResult::Int(int row, int column) const {
    return std::strtoll(Text(row, column).c_str(), nullptr, 10);
}

int64_t PgResult::Affected() const {
    return result_ ? std::strtoll(PQcmdTuples(result_.get()), nullptr, 10) : 0;
}

std::string PgResult::Error() const {
    return result_ ? PQresultErrorMessage(result_.get()) : "no result";
}

PgConnection::PgConnection(const std::string& address) {
    // The address's own settings come after these defaults and win over them: a database machine that stops
    // answering fails a connect or a query within seconds instead of the network's minutes.
    const char* keywords[] = {"connect_timeout", "tcp_user_timeout", "fallback_application_name", "dbname", nullptr};
    const char* values[] = {"5", "10000", "nightcap-server", address.c_str(), nullptr};
    conn_ = PQconnectdbParams(keywords, values, 1);
    // Notices ("already exists, skipping") are for people at a prompt; the programs say what matters.
    if (conn_)
        PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
}

PgConnection::~PgConnection() {
    PQfinish(conn_);
}

std::string PgConnection::Error() const {
    if (!conn_)
        return "out of memory";
    std::string message = PQerrorMessage(conn_);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message;
}

PgResult PgConnection::Run(const char* sql, const std::vector<PgParam>& params) {
    auto found = prepared_.find(sql);
    if (found == prepared_.end()) {
        const std::string name = "s" + std::to_string(prepared_.size());
        PgResult prepared(PQprepare(conn_, name.c_str(), sql, 0, nullptr));
        if (!prepared.Ok())
            return prepared;
        found = prepared_.emplace(sql, name).first;
    }
    std::vector<const char*> values;
    for (const PgParam& param : params)
        values.push_back(param ? param->c_str() : nullptr);
    return PgResult(PQexecPrepared(conn_, found->second.c_str(), static_cast<int>(values.size()), values.data(),
                                   nullptr, nullptr, 0));
}

PgResult PgConnection::Execute(const std::string& sql) {
    return PgResult(PQexec(conn_, sql.c_str()));
}

PgTransaction::PgTransaction(PgConnection& connection, const char* begin) : connection_(connection) {
    began_ = connection_.Execute(begin).Ok();
}

PgTransaction::~PgTransaction() {
    if (began_ && !done_ && connection_.Connected())
        connection_.Execute("ROLLBACK");
}

bool PgTransaction::Commit() {
    done_ = began_ && connection_.Execute("COMMIT").Ok();
    return done_;
}

bool IsPostgresAddress(const std::string& text) {
    if (text.rfind("postgresql://", 0) != 0 && text.rfind("postgres://", 0) != 0)
        return false;
    // libpq's own complaint about a malformed address may quote any part of it, the password included.
    char* parseError = nullptr;
    PQconninfoOption* options = PQconninfoParse(text.c_str(), &parseError);
    PQfreemem(parseError);
    PQconninfoFree(options);
    return options != nullptr;
}

std::string WithoutPassword(std::string message, const std::string& address) {
    char* parseError = nullptr;
    PQconninfoOption* options = PQconninfoParse(address.c_str(), &parseError);
    PQfreemem(parseError);
    std::string password;
    for (PQconninfoOption* option = options; option && option->keyword; ++option) {
        if (std::string(option->keyword) == "password" && option->val)
            password = option->val;
    }
    PQconninfoFree(options);
    if (password.empty())
        return message;
    for (size_t at = message.find(password); at != std::string::npos; at = message.find(password, at + 3))
        message.replace(at, password.size(), "***");
    return message;
}

}  // namespace server

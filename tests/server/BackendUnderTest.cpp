#include "tests/server/BackendUnderTest.h"

#include "server/PgConnection.h"
#include "server/Sqlite.h"

#include <unistd.h>

#include <atomic>
#include <fstream>

using namespace server;

namespace {

std::string FirstLine(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// The address with its database name replaced.
std::string OnDatabase(const std::string& admin, const std::string& name) {
    const size_t query = admin.find('?');
    const size_t slash = admin.rfind('/', query);
    return admin.substr(0, slash + 1) + name + admin.substr(query);
}

}  // namespace

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
}

std::filesystem::path TestClusterFolder() {
    return NIGHTCAP_TEST_CLUSTER_DIR;
}

std::string TestClusterAddress() {
    return FirstLine(TestClusterFolder() / "address");
}

TestDatabase::TestDatabase(Backend backend, std::filesystem::path dataDir)
    : backend_(backend), dataDir_(std::move(dataDir)) {
    if (backend_ == Backend::Sqlite)
        return;
    static std::atomic<int> made{0};
    name_ = "nightcap_test_" + std::to_string(::getpid()) + "_" + std::to_string(made++);
    const std::string admin = TestClusterAddress();
    server::PgConnection connection(admin);
    EXPECT_TRUE(connection.Connected()) << "no test cluster at " << TestClusterFolder()
                                        << " (tests/server/postgres-cluster.sh start DIR): " << connection.Error();
    EXPECT_TRUE(connection.Execute("CREATE DATABASE " + name_).Ok()) << connection.Error();
    address_ = OnDatabase(admin, name_);
}

TestDatabase::~TestDatabase() {
    if (backend_ == Backend::Postgres)
        server::PgConnection(TestClusterAddress()).Execute("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
}

std::vector<std::string> TestDatabase::Args() const {
    if (backend_ == Backend::Sqlite)
        return {};
    return {"--database", address_};
}

int64_t TestDatabase::Number(const std::string& sql) const {
    if (backend_ == Backend::Postgres) {
        server::PgConnection connection(address_);
        const server::PgResult result = connection.Execute(sql);
        return result.Ok() && result.Rows() > 0 ? result.Int(0, 0) : -1;  // NULL reads 0, as in SQLite
    }
    SqliteDatabase db;
    if (!db.Open((dataDir_ / "server.db").string()))
        return -1;
    SqliteStatement query(db, sql.c_str());
    return query.Step() ? query.Int(0) : -1;
}

bool TestDatabase::Execute(const std::string& sql) const {
    if (backend_ == Backend::Postgres)
        return server::PgConnection(address_).Execute(sql).Ok();
    SqliteDatabase db;
    return db.Open((dataDir_ / "server.db").string()) && db.Execute(sql.c_str());
}

// Test support: the storage a test runs the server on, SQLite in the data folder or a fresh database of its
// own in the tests' PostgreSQL cluster (tests/server/postgres-cluster.sh, started by the ctest fixture), and
// queries straight into it, the way a maker's query would see the counts.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

enum class Backend { Sqlite, Postgres };
std::string BackendName(const ::testing::TestParamInfo<Backend>& info);
#define FOR_BOTH_BACKENDS(suite) \
    INSTANTIATE_TEST_SUITE_P(Both, suite, ::testing::Values(Backend::Sqlite, Backend::Postgres), BackendName)

// The address of the test cluster's admin database; empty when the cluster is not running.
std::string TestClusterAddress();
// The cluster's folder, for stopping and starting its server.
std::filesystem::path TestClusterFolder();

class TestDatabase {
public:
    // dataDir: the server's data folder (where the SQLite storage keeps server.db).
    TestDatabase(Backend backend, std::filesystem::path dataDir);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // The arguments that put the server or the publish tool on it: none, or --database ADDRESS.
    std::vector<std::string> Args() const;
    const std::string& Address() const { return address_; }
    // The first column of the first row; -1 when the query fails.
    int64_t Number(const std::string& sql) const;
    bool Execute(const std::string& sql) const;

private:
    Backend backend_;
    std::filesystem::path dataDir_;
    std::string name_;     // the PostgreSQL database made for this test
    std::string address_;  // its address
};

// The version of the database schema this program knows, the same for both storages. At start a storage
// brings an older database up to it, step by step, and refuses one a newer program has already moved past.
#pragma once
#include <string>

namespace server {

constexpr int kSchemaVersion = 1;

// Empty when a database of schema `found` can be used (after upgrading it), else why not.
std::string SchemaVersionError(long long found);

}  // namespace server

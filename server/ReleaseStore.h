// Where releases live in the server's data folder:
//   <data>/server.db                              the database
//   <data>/releases/<product>/<id>/files/...      the files of a release, as the download tree serves them
//   <data>/releases/<product>/<id>/update_md5.xml its digest list
//   <data>/releases/<product>/<id>/update_md5.xml.sig its signature file, when the release was signed
// A release folder is complete before it gets its final name, and final before the database makes it live.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

std::filesystem::path DatabasePath(const std::filesystem::path& dataDir);
// <data>/releases/<product>: its releases and the staging folders of publishes (locked while one runs).
std::filesystem::path ProductFolder(const std::filesystem::path& dataDir, const std::string& product);
std::filesystem::path ReleaseFolder(const std::filesystem::path& dataDir, const std::string& product, int64_t id);
std::filesystem::path StagingFolder(const std::filesystem::path& dataDir, const std::string& product, int64_t id);

// Where releases live in the server's data folder:
//   <data>/server.db                              the database
//   <data>/releases/<product>/<id>/files/...      the files of a release, as the download tree serves them
//   <data>/releases/<product>/<id>/update_md5.xml its digest list
//   <data>/releases/<product>/<id>/update_md5.xml.sig its signature file, when the release was signed
//   <data>/releases/<product>/live                a link to the live release's folder ("<id>"), for a static
//                                                 web server in front (server/deploy/nginx-nightcap.conf)
// A release folder is complete before it gets its final name, and final before the database makes it live;
// the link follows the database once the release is live (a publish moves it; so does the server's start).
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

namespace server {

std::filesystem::path DatabasePath(const std::filesystem::path& dataDir);
// <data>/releases/<product>: its releases and the staging folders of publishes (locked while one runs).
std::filesystem::path ProductFolder(const std::filesystem::path& dataDir, const std::string& product);
std::filesystem::path ReleaseFolder(const std::filesystem::path& dataDir, const std::string& product, int64_t id);
std::filesystem::path StagingFolder(const std::filesystem::path& dataDir, const std::string& product, int64_t id);
std::filesystem::path LiveLink(const std::filesystem::path& dataDir, const std::string& product);
// Points the product's live link at release id, replacing the link in one rename; false when it could not.
bool PointLiveLink(const std::filesystem::path& dataDir, const std::string& product, int64_t id);

}  // namespace server

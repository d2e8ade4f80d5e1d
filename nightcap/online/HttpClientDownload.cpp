// URL downloads of HttpClient, through URL Moniker's URLDownloadToFile.
#include "nightcap/online/HttpClient.h"

#include <windows.h>
#include <urlmon.h>

namespace nightcap {

bool HttpClient::DownloadToFile(const std::string& url, const std::string& filePath) {
    return ::URLDownloadToFileA(nullptr, url.c_str(), filePath.c_str(), 0, nullptr) == S_OK;
}

}  // namespace nightcap

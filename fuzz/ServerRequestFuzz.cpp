// Outside data that reaches the server's name rules: the download counter's p_url, paths of the download
// tree, product names, installation reports. Whatever the input, a path the rules let through names a file
// inside the store: safe segments only, the first of them a product name.
#include "server/ReportCheck.h"
#include "server/StoreNames.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace server;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> hosts = {"127.0.0.1:8080", "update.example"};
    if (const auto path = OwnDownloadPath(input, hosts)) {
        const auto segments = SafeSegments(*path);
        if (!segments || segments->size() < 2 || !IsProductName((*segments)[0]))
            abort();
        for (const std::string& segment : *segments) {
            if (segment == "." || segment == ".." || segment.find_first_of("\\/:%") != std::string::npos)
                abort();
        }
    }
    IsProductName(input);
    IsVersionText(input);
    const size_t split = input.find('&');
    if (split != std::string::npos && IsValidReport(input.substr(0, split), input.substr(split + 1))) {
        if (!IsAdapterAddress(input.substr(0, split)))
            abort();
    }
    return 0;
}

#include "server/ReleaseFolderFacts.h"

#include "server/Publish.h"

#include <fstream>

namespace server {
namespace {

std::string Trimmed(std::string text) {
    const char* blanks = " \t\r\n";
    text.erase(0, text.find_first_not_of(blanks));
    text.erase(text.find_last_not_of(blanks) + 1);
    return text;
}

}  // namespace

std::string ProductNameOf(const std::filesystem::path& ini) {
    std::ifstream in(ini);
    std::string line;
    bool inProduct = false;
    while (std::getline(in, line)) {
        line = Trimmed(line);
        if (!line.empty() && line.front() == '[') {
            inProduct = line == "[Product]";
        } else if (inProduct && line.rfind("name", 0) == 0) {
            const size_t equals = line.find('=');
            if (equals != std::string::npos && Trimmed(line.substr(4, equals - 4)).empty())
                return Trimmed(line.substr(equals + 1));
        }
    }
    return {};
}

ReleaseArchResult ReleaseFolderArch(const std::filesystem::path& releaseDir, const std::optional<ReleaseArch>& stated) {
    const ReleaseListing listing = ListReleaseFolder(releaseDir);
    std::vector<NamedHead> programs;
    for (size_t i = 0; i < listing.sources.size(); ++i) {
        std::ifstream in(listing.sources[i], std::ios::binary);
        std::string head(kProgramHeadBytes, '\0');
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<size_t>(in.gcount()));
        programs.push_back({listing.sources[i].lexically_relative(releaseDir).generic_string(), head});
    }
    ReleaseArchResult result = ReleaseArchOf(programs);
    if (result.error.empty() && stated && *stated != result.arch)
        result.error = std::string("the release's programs are ") + ReleaseArchName(result.arch) + ", not " +
                       ReleaseArchName(*stated);
    return result;
}

}  // namespace server

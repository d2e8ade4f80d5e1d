// Which architecture a release is for, told by its programs' own headers, and the release channel that
// architecture is published to. The 32-bit programs are the product itself on the servers (its name and
// product id 2), as the installs in the field have always asked; the 64-bit ones a channel of their own (the
// name with "-x64", product id 3). So an installation is only ever offered, sent and given programs of its
// own architecture.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace server {

enum class ReleaseArch { X86, X64 };

// The machine a Windows program (.exe or .dll) was built for, from the first bytes of its file (its MZ and
// PE headers); nullopt when they are no PE image of either architecture.
std::optional<ReleaseArch> ProgramArch(std::string_view headBytes);
// How many bytes of a file ProgramArch wants to see.
constexpr size_t kProgramHeadBytes = 4096;

// The architecture every program of a release agrees on: files that are no PE image do not count, and a
// release with no program at all is taken as 32-bit (as every release was before). Mixed programs give an
// error naming the first one that differs.
struct ReleaseArchResult {
    ReleaseArch arch = ReleaseArch::X86;
    std::string error;
};
struct NamedHead {
    std::string name;
    std::string headBytes;
};
ReleaseArchResult ReleaseArchOf(const std::vector<NamedHead>& programs);

std::optional<ReleaseArch> ReleaseArchNamed(std::string_view name);  // "x86" or "x64"
const char* ReleaseArchName(ReleaseArch arch);
std::string ChannelName(const std::string& product, ReleaseArch arch);  // "Nightcap" or "Nightcap-x64"
int ChannelProductId(ReleaseArch arch);                                 // 2 or 3

}  // namespace server

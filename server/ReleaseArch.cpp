#include "server/ReleaseArch.h"

#include <cstdint>

namespace server {

namespace {

constexpr uint16_t kMachineI386 = 0x14c;
constexpr uint16_t kMachineAmd64 = 0x8664;

uint32_t LittleEndian(std::string_view bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = width; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

}  // namespace

std::optional<ReleaseArch> ProgramArch(std::string_view head) {
    if (head.size() < 0x40 || head.substr(0, 2) != "MZ")
        return std::nullopt;
    const uint32_t pe = LittleEndian(head, 0x3c, 4);
    if (pe > head.size() || head.size() - pe < 6 || head.substr(pe, 4) != std::string_view("PE\0\0", 4))
        return std::nullopt;
    switch (LittleEndian(head, pe + 4, 2)) {
    case kMachineI386: return ReleaseArch::X86;
    case kMachineAmd64: return ReleaseArch::X64;
    default: return std::nullopt;
    }
}

ReleaseArchResult ReleaseArchOf(const std::vector<NamedHead>& programs) {
    ReleaseArchResult result;
    const NamedHead* first = nullptr;
    for (const NamedHead& program : programs) {
        const auto arch = ProgramArch(program.headBytes);
        if (!arch)
            continue;
        if (!first) {
            first = &program;
            result.arch = *arch;
        } else if (*arch != result.arch) {
            result.error = program.name + " is a " + ReleaseArchName(*arch) + " program but " + first->name +
                           " is " + ReleaseArchName(result.arch) + ": a release holds the programs of one architecture";
            return result;
        }
    }
    return result;
}

std::optional<ReleaseArch> ReleaseArchNamed(std::string_view name) {
    if (name == "x86")
        return ReleaseArch::X86;
    if (name == "x64")
        return ReleaseArch::X64;
    return std::nullopt;
}

const char* ReleaseArchName(ReleaseArch arch) { return arch == ReleaseArch::X64 ? "x64" : "x86"; }

std::string ChannelName(const std::string& product, ReleaseArch arch) {
    return arch == ReleaseArch::X64 ? product + "-x64" : product;
}

int ChannelProductId(ReleaseArch arch) { return arch == ReleaseArch::X64 ? 3 : 2; }

}  // namespace server

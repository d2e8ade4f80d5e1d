#include "common/ServerHosts.h"

#include <cstdlib>

// The built-in hosts come from the build (the CMake cache variables NIGHTCAP_*_HOST).

namespace {

struct HostSetting {
    const char* variable;
    const char* builtIn;
};

const HostSetting kSettings[] = {
    {"NIGHTCAP_STATS_HOST", NIGHTCAP_STATS_HOST},
    {"NIGHTCAP_UPDATE_HOST", NIGHTCAP_UPDATE_HOST},
    {"NIGHTCAP_TIME_HOST", NIGHTCAP_TIME_HOST},
    {"NIGHTCAP_IP_HOST", NIGHTCAP_IP_HOST},
    {"NIGHTCAP_AIR_HOST", NIGHTCAP_AIR_HOST},
    {"NIGHTCAP_WEATHER_HOST", NIGHTCAP_WEATHER_HOST},
};

const HostSetting& SettingOf(ServerRole role) { return kSettings[static_cast<int>(role)]; }

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsHostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

}  // namespace

const char* ServerHostVariable(ServerRole role) { return SettingOf(role).variable; }

const char* BuiltInServerHost(ServerRole role) { return SettingOf(role).builtIn; }

bool IsHostSetting(const std::string& setting) {
    const std::string text = Trimmed(setting);
    const size_t colon = text.find(':');
    const std::string host = text.substr(0, colon);
    if (host.empty()) return false;
    for (char c : host)
        if (!IsHostChar(c)) return false;
    if (colon == std::string::npos) return true;
    const std::string port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos) return false;
    const long number = std::strtol(port.c_str(), nullptr, 10);
    return number >= 1 && number <= 65535;
}

std::string ChooseServerHost(const char* override, const std::string& builtIn) {
    if (override && IsHostSetting(override)) return Trimmed(override);
    return builtIn;
}

std::string ServerHost(ServerRole role) {
    const HostSetting& setting = SettingOf(role);
    return ChooseServerHost(std::getenv(setting.variable), setting.builtIn);
}

std::string ServerUrl(ServerRole role, const std::string& pathAndQuery) {
    return "http://" + ServerHost(role) + pathAndQuery;
}

// The servers of the product: Nightcap's online features and the updater. Each has a host built in (CMake cache variable of the same name as
// the environment variable) that the environment variable below overrides with "host" or "host:port".
// The update server and the statistics server are also the updater's: it reads the same variables.
#pragma once
#include <string>

enum class ServerRole {
    Statistics,  // NIGHTCAP_STATS_HOST: version check, update ping, installation report, download counter
    Update,      // NIGHTCAP_UPDATE_HOST: change log, file digests and the files of an update
    TimePage,    // NIGHTCAP_TIME_HOST: the network time page
    IpLookup,    // NIGHTCAP_IP_HOST: the IP-lookup page
    AirQuality,  // NIGHTCAP_AIR_HOST: the air-quality site
    Weather,     // NIGHTCAP_WEATHER_HOST: the weather service
};

const char* ServerHostVariable(ServerRole role);
const char* BuiltInServerHost(ServerRole role);

// "host" or "host:port" for the role: the environment override when it is a valid setting, else the
// built-in host.
std::string ServerHost(ServerRole role);
// "http://" + ServerHost(role) + pathAndQuery.
std::string ServerUrl(ServerRole role, const std::string& pathAndQuery);

// A valid setting: a host name or IPv4 address (letters, digits, "-", ".") with an optional ":port" of
// 1..65535. Surrounding blanks are ignored.
bool IsHostSetting(const std::string& setting);
// The override (trimmed) when it is valid, else the built-in host.
std::string ChooseServerHost(const char* override, const std::string& builtIn);

// DEMO DATA. Stand-ins for the three outside sites Nightcap reads (network time page, IP-lookup page, air
// quality and weather), served only when the server is started with --demo, so a product tried without the
// internet shows a filled weather panel. Nothing they answer is measured: the city, weather and air-quality
// figures are made up, and the time is this server's own clock.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace server {

class HttpServer;

void InstallDemoSites(HttpServer& server, std::function<int64_t()> clock);

// The answers, for tests and for the routes.
std::string DemoTimePage(int64_t utcSeconds);  // the time in Beijing (UTC+8), as the time page writes it
std::string DemoIpPage();                      // GBK
std::string DemoAirPage();                     // UTF-8
std::string DemoWeatherData(const std::string& cityCode);  // UTF-8

}  // namespace server

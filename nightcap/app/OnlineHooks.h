// Where the main window meets the online services: version check and statistics (VersionCheck.cpp,
// InstallReport.cpp), clock synchronisation (ClockSync.cpp) and the weather panel (WeatherPanel.cpp).
//
// No request runs on the user-interface thread. The start-up lookups run on one thread of their own, in
// order: the version check, then the city, air quality and weather; each answer comes back to the main
// window as one of the messages below, whose handlers show it.
#pragma once
#include "nightcap/app/NightcapApp.h"

namespace nightcap {

// Posted by the main window to itself at the end of its start-up, so that the lookups start once it shows.
constexpr UINT kStartLookupsMessage = WM_APP + 1;
// lParam: the version check's reply (TakePostedResult<std::string>).
constexpr UINT kVersionRepliedMessage = WM_APP + 2;
// lParam: what the weather panel's lookups found (TakePostedResult<WeatherFindings>).
constexpr UINT kWeatherFoundMessage = WM_APP + 3;
// The update ping was answered "1".
constexpr UINT kUpdateAskedMessage = WM_APP + 4;

// The start-up lookups: the silent version check, then the weather panel's.
void StartStartupLookups(NightcapApp& app);
void OnVersionReplied(NightcapApp& app, const std::string& reply);
void OnWeatherFound(NightcapApp& app, const WeatherFindings& found);
// Every 30 minutes (时钟_呼起).
void PingStatistics(NightcapApp& app);
void OnUpdateAsked(NightcapApp& app);
// 透明标签_版本号: the button goes down ("检测更新……"), then up (the version check, with a notice when up to
// date; while a check runs, that one gives the notice instead).
void OnVersionLabelPressed(NightcapApp& app);
void OnVersionLabelClicked(NightcapApp& app);
// Background threads, once each per start: set the clock from the network time page (thread A) and send the
// installation report (thread B).
void SynchroniseClockOnce();
void SendInstallReportOnce();

// Requests, for the background threads only.
// The version check's reply: the server's text, the empty text on any failure.
std::string RequestVersionReply();
// City, air quality and weather, in that order.
WeatherFindings LookUpLocationAndWeather();

}  // namespace nightcap

// Where the main window meets the online services: version check and statistics (VersionCheck.cpp,
// InstallReport.cpp), clock synchronisation (ClockSync.cpp) and the weather panel (WeatherPanel.cpp).
#pragma once
#include "NightcapApp.h"

// Start-up, before the tray icon: ask the statistics server for the current version, without a notice
// when up to date.
void CheckVersionSilently(NightcapApp& app);
// Start-up: city, air quality and weather, synchronously, then shown in the weather panel.
void LookUpLocationAndWeather(NightcapApp& app);
void FillWeatherPanel(NightcapApp& app);
// Every 30 minutes (时钟_呼起).
void PingStatistics(NightcapApp& app);
// 透明标签_版本号: the button goes down ("检测更新……"), then up (the version check, with a notice when up to date).
void OnVersionLabelPressed(NightcapApp& app);
void OnVersionLabelClicked(NightcapApp& app);
// Background threads, once each per start: set the clock from the network time page (thread A) and send the
// installation report (thread B).
void SynchroniseClockOnce();
void SendInstallReportOnce();

#include "OnlineHooks.h"

void CheckVersionSilently(NightcapApp&) {}
void LookUpLocationAndWeather(NightcapApp&) {}
void FillWeatherPanel(NightcapApp&) {}
void PingStatistics(NightcapApp&) {}
void OnVersionLabelClicked(NightcapApp&) {}
void SynchroniseClockOnce() {}
void SendInstallReportOnce() {}

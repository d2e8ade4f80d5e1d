#include "nightcap/online/ConnectionReport.h"

namespace nightcap {

namespace {

// The INTERNET_CONNECTION_* and INTERNET_RAS_INSTALLED values.
constexpr uint32_t kModem = 0x01, kLan = 0x02, kProxy = 0x04, kRasInstalled = 0x10, kOffline = 0x20,
                   kConfigured = 0x40;

}  // namespace

std::string ConnectionReport(bool connected, uint32_t flags, const std::string& connectionName) {
    std::string report = connected ? "已连接到Internet,连接名称: " : "没有连接到Internet,连接名称: ";
    report += connectionName + "\r\n";
    if (flags & kModem) report += "使用modem连接到Internet.\r\n";
    if (flags & kLan) report += "使用局域网连接到Internet.\r\n";
    if (flags & kProxy) report += "通过代理服务器连接到Internet.\r\n";
    if (flags & kOffline) report += "现在连接处于离线状态.\r\n";
    report += (flags & kConfigured) ? "连接已经设定.\r\n" : "没有设定好连接.\r\n";
    if (flags & kRasInstalled) report += "已经安装了远程服务功能.\r\n";
    return report + "\r\n";
}

}  // namespace nightcap

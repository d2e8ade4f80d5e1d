// What Nightcap asks its maker's statistics server and how it reads the replies: the version check, the
// 30-minute update ping and the one-time installation report.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The server's reply is compared with kProductVersion, which the version label shows too.
#include "common/ProductVersionText.h"

namespace nightcap {

// Path and query of each request; p_id is the release channel's product id (ReleaseChannel.h: 2 in the
// 32-bit programs).
extern const char kVersionCheckRequest[];  // "/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&f_id=&RequestType=1"
extern const char kUpdatePingRequest[];    // the same page with "p_id=2&RequestType=2"
std::string InstallReportRequest(const std::string& address);  // "/pm/sd_mgr/pts/web/pm_usage.php?p_id=2&macAdd=..."

// The version-check reply starts the updater when it is any text other than the version, byte for byte
// ("1.002\r\n" and "1.001" do; no ordering). The empty reply, which is what every failure gives, does not:
// without a network the updater would be started at every start and would end Nightcap each time.
bool VersionReplyStartsUpdater(const std::string& reply);
bool VersionReplyIsCurrent(const std::string& reply);
// The ping's reply asks for the updater when it is exactly "1".
bool PingReplyStartsUpdater(const std::string& reply);

using AdapterAddress = std::array<uint8_t, 6>;
// The first address, in the order given, that is not all zeros, as 12 upper-case hexadecimal digits;
// empty when there is none.
std::string ReportedAdapterAddress(const std::vector<AdapterAddress>& addresses);
// The lower-case MD5 digest of "2", the address and the report salt.
std::string InstallReportCheckValue(const std::string& address);

}  // namespace nightcap

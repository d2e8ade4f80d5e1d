#include "nightcap/online/StatisticsRules.h"

#include <cstdio>

#include "common/Md5Digest.h"
#include "common/ProductVersionText.h"
#include "common/ReleaseChannel.h"

namespace nightcap {

const char kVersionCheckRequest[] = "/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=" NIGHTCAP_CHANNEL_PRODUCT_ID
                                    "&f_id=&RequestType=1";
const char kUpdatePingRequest[] = "/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=" NIGHTCAP_CHANNEL_PRODUCT_ID
                                  "&RequestType=2";

namespace {
const char kReportPage[] = "/pm/sd_mgr/pts/web/pm_usage.php";
const char kReportSalt[] = "7QKRT#2HW%";
}  // namespace

std::string InstallReportRequest(const std::string& address) {
    return std::string(kReportPage) + "?p_id=" NIGHTCAP_CHANNEL_PRODUCT_ID "&macAdd=" + address + "&chk=" +
           InstallReportCheckValue(address);
}

bool VersionReplyIsCurrent(const std::string& reply) { return reply == kProductVersion; }

bool VersionReplyStartsUpdater(const std::string& reply) { return !reply.empty() && !VersionReplyIsCurrent(reply); }

bool PingReplyStartsUpdater(const std::string& reply) { return reply == "1"; }

std::string ReportedAdapterAddress(const std::vector<AdapterAddress>& addresses) {
    for (const AdapterAddress& a : addresses) {
        if (a == AdapterAddress{}) continue;
        char text[13];
        std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
        return text;
    }
    return std::string();
}

std::string InstallReportCheckValue(const std::string& address) {
    const std::string message = "2" + address + kReportSalt;
    return Md5Digest::Hex(message.data(), message.size(), false);
}

}  // namespace nightcap

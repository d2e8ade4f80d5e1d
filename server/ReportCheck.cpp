#include "server/ReportCheck.h"

#include "common/Md5Digest.h"

namespace server {

namespace {
const char kReportSalt[] = "7QKRT#2HW%";
}

bool IsAdapterAddress(std::string_view address) {
    if (address.size() != 12)
        return false;
    for (char c : address) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

std::string ReportCheckValue(std::string_view address) {
    const std::string text = "2" + std::string(address) + kReportSalt;
    return Md5Digest::Hex(text.data(), text.size(), false);
}

bool IsValidReport(std::string_view address, std::string_view check) {
    return IsAdapterAddress(address) && check == ReportCheckValue(address);
}

}  // namespace server

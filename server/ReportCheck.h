// The installation report's rules: an adapter address is 12 upper-case hexadecimal digits, and the check value
// is the lower-case MD5 of "2", the address and the report salt.
#pragma once
#include <string>
#include <string_view>

namespace server {

bool IsAdapterAddress(std::string_view address);
std::string ReportCheckValue(std::string_view address);
bool IsValidReport(std::string_view address, std::string_view check);

}  // namespace server

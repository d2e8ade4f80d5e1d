// The connection report for people: whether the machine is on the Internet, the connection name and
// one line per state flag (the flags of InternetGetConnectedStateEx).
#pragma once
#include <cstdint>
#include <string>

namespace nightcap {

std::string ConnectionReport(bool connected, uint32_t flags, const std::string& connectionName);

}  // namespace nightcap

// Thread B: the installation report, once per start, with the first real network-adapter address.
#include <windows.h>
#include <iphlpapi.h>

#include <vector>

#include "common/ServerHosts.h"
#include "nightcap/app/OnlineHooks.h"
#include "nightcap/app/ProgramHttp.h"
#include "nightcap/online/StatisticsRules.h"

namespace nightcap {

namespace {

// The first six address bytes of every adapter, in the order Windows lists them.
std::vector<AdapterAddress> AdapterAddresses() {
    ULONG size = 0;
    if (GetAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW || size == 0) return {};
    std::vector<unsigned char> buffer(size);
    auto* list = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
    if (GetAdaptersInfo(list, &size) != NO_ERROR) return {};
    std::vector<AdapterAddress> addresses;
    for (const IP_ADAPTER_INFO* adapter = list; adapter; adapter = adapter->Next) {
        AdapterAddress address;
        for (size_t i = 0; i < address.size(); ++i) address[i] = adapter->Address[i];
        addresses.push_back(address);
    }
    return addresses;
}

}  // namespace

void SendInstallReportOnce() {
    const std::string address = ReportedAdapterAddress(AdapterAddresses());
    ProgramHttp().PostText(ServerUrl(ServerRole::Statistics, InstallReportRequest(address)));
}

}  // namespace nightcap

// Nightcap.exe under Wine against a plain window program in the same run (sh tools/bench-wine.sh):
//  - start-up: from starting the process to its main window shown, the programs started in turn: the plain one,
//    Nightcap with its online lookups answered by the loopback server (the version check says it is up to
//    date), and Nightcap without a network (every connection refused);
//  - idle cost: the CPU time Nightcap uses over a while when armed and hidden in the tray, beside the plain
//    program idle over the same while.
// Arguments: <loopback server port> [rounds, 10] [idle seconds, 60] [wineserver's process id on the host]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/WineTiming.h"
#include "nightcap/app/ControlIds.h"
#include "tests/nightcap/CannedOnlineReplies.h"
#include "tests/nightcap/NightcapUnderTest.h"
#include "tools/test-http-server/LoopbackServer.h"

using namespace nightcap;

namespace {

const wchar_t kPlainClass[] = L"PlainWindow";
const wchar_t kNightcapClass[] = L"Nightcap";

// Looks every millisecond for a visible top-level window of the class; null when the process ends first or
// 30 seconds pass.
HWND WaitShown(const Program& program, const wchar_t* className) {
    const double give_up = NowMs() + 30000;
    while (program.Running() && NowMs() < give_up) {
        for (HWND window : program.TopLevelWindows())
            if (ClassNameOf(window) == className && IsWindowVisible(window)) return window;
        Sleep(1);
    }
    return nullptr;
}

// Milliseconds from the start of the plain program to its window shown; negative on failure.
double PlainStartUp() {
    Program plain;
    const double start = NowMs();
    if (!plain.Start(BuildFolder() + L"\\PlainWindow.exe")) return -1;
    HWND window = WaitShown(plain, kPlainClass);
    const double elapsed = NowMs() - start;
    if (!window) return -1;
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (!plain.WaitExit(10000)) plain.Kill();
    return elapsed;
}

void EndNightcap(NightcapUnderTest& nc, HWND main) {
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(菜单_结束, 0), 0);
    if (!nc.Process().WaitExit(10000)) nc.Process().Kill();
}

// The same for Nightcap, from a fresh program folder with the shipped config.ini; its servers at servers
// ("host:port"), or at a loopback port where nothing listens when that is empty.
double NightcapStartUp(const std::string& servers) {
    NightcapUnderTest nc;
    nc.UseServers(servers);
    if (!nc.Prepare(kShippedConfig)) return -1;
    const double start = NowMs();
    if (!nc.Process().Start(nc.Exe())) return -1;
    HWND main = WaitShown(nc.Process(), kNightcapClass);
    const double elapsed = NowMs() - start;
    if (!main) return -1;
    EndNightcap(nc, main);
    return elapsed;
}

// Wine answers GetProcessTimes for other processes with zeros: CPU time is read on the host, from /proc
// through Wine's drive of the host's root.
std::string HostFile(const std::string& pid, const char* name) {
    std::ifstream file("Z:\\proc\\" + pid + "\\" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The host process whose command line starts with the Windows path of exe (Wine shows it so), or 0.
int HostProcessOf(const std::wstring& exe) {
    const std::string path(exe.begin(), exe.end());  // the temp folder's path is ASCII
    WIN32_FIND_DATAA found;
    UniqueFindHandle find(FindFirstFileA("Z:\\proc\\*", &found));
    if (!find) return 0;
    do {
        const std::string name = found.cFileName;
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string command = HostFile(name, "cmdline");
        const size_t at = command.find(path);
        if (at <= 1 && _strnicmp(command.c_str() + at, path.c_str(), path.size()) == 0) return std::atoi(name.c_str());
    } while (FindNextFileA(find.Get(), &found));
    return 0;
}

// User and system time of a host process in milliseconds (clock ticks of 10 ms); negative when unknown.
double HostProcessCpuMs(int pid) {
    if (pid <= 0) return -1;
    const std::string stat = HostFile(std::to_string(pid), "stat");
    const size_t afterName = stat.rfind(')');
    if (afterName == std::string::npos) return -1;
    // Fields after the name: state (3), ... utime (14), stime (15).
    std::vector<std::string> fields;
    size_t at = afterName + 2;
    while (at < stat.size() && fields.size() < 13) {
        const size_t space = stat.find(' ', at);
        fields.push_back(stat.substr(at, space - at));
        at = space == std::string::npos ? stat.size() : space + 1;
    }
    if (fields.size() < 13) return -1;
    return (std::atof(fields[11].c_str()) + std::atof(fields[12].c_str())) * 10;
}

void PrintTimes(const char* label, const std::vector<double>& times) {
    std::printf("  %-40s %7.1f ms  (fastest %.1f, slowest %.1f)\n", label, Median(times),
                *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));
}

// Nightcap against the loopback server holding every reply unanswered; the replies answer again after.
double StalledStartUp(LoopbackServer& server, const std::string& servers) {
    if (!ServeCannedOnlineReplies(server, /*held=*/true)) return -1;
    const double elapsed = NightcapStartUp(servers);
    return ServeCannedOnlineReplies(server) ? elapsed : -1;
}

bool MeasureStartUp(LoopbackServer& server, const std::string& servers, int rounds) {
    std::vector<double> plain, online, offline, stalled;
    // One round first to warm the caches, not counted.
    for (int round = -1; round < rounds; ++round) {
        // Each start on a quiet machine: the previous program's exit has been handled everywhere.
        Sleep(500);
        const double p = PlainStartUp();
        Sleep(500);
        const double n = NightcapStartUp(servers);
        Sleep(500);
        const double o = NightcapStartUp("");  // every connection refused at once
        Sleep(500);
        const double h = StalledStartUp(server, servers);
        if (p < 0 || n < 0 || o < 0 || h < 0) {
            std::printf("start-up round %d failed (plain %.1f, Nightcap %.1f, without network %.1f, stalled %.1f)\n",
                        round, p, n, o, h);
            return false;
        }
        if (round >= 0) plain.push_back(p), online.push_back(n), offline.push_back(o), stalled.push_back(h);
    }
    std::printf("start-up to the main window shown, median of %d rounds (each program once a round):\n", rounds);
    PrintTimes("plain window program", plain);
    PrintTimes("Nightcap.exe, lookups answered", online);
    PrintTimes("Nightcap.exe, connections refused", offline);
    PrintTimes("Nightcap.exe, servers stalled", stalled);
    std::printf("  ratio Nightcap / plain  %.2f  (aim: at most 1.3); without network %.2f; stalled %.2f\n",
                Median(online) / Median(plain), Median(offline) / Median(plain), Median(stalled) / Median(plain));
    return true;
}

bool MeasureIdle(const std::string& servers, int seconds, int wineserverPid) {
    NightcapUnderTest nc;
    nc.UseServers(servers);
    if (!nc.Start(kShippedConfig)) return false;
    // A countdown of 1 h 30 min, armed: the windows go to the tray and the clock ticks every 500 ms.
    nc.Click(透明标签_切换2);
    nc.SetText(标签_时, "01");
    nc.SetText(标签_分, "30");
    nc.Click(按钮_执行);
    if (!WaitUntil([&] { return !IsWindowVisible(nc.Main()); })) {
        std::printf("Nightcap did not go to the tray\n");
        return false;
    }
    Program plain;
    if (!plain.Start(BuildFolder() + L"\\PlainWindow.exe") || !WaitShown(plain, kPlainClass)) return false;
    Sleep(3000);  // the arming balloon and the start-up lookups settle

    const int nightcapPid = HostProcessOf(nc.Exe()), plainPid = HostProcessOf(BuildFolder() + L"\\PlainWindow.exe");
    if (!nightcapPid || !plainPid) {
        std::printf("the host processes were not found (Nightcap %d, plain %d)\n", nightcapPid, plainPid);
        return false;
    }
    const double nightcapBefore = HostProcessCpuMs(nightcapPid), plainBefore = HostProcessCpuMs(plainPid);
    const double serverBefore = HostProcessCpuMs(wineserverPid);
    const double start = NowMs();
    Sleep(DWORD(seconds) * 1000);
    const double wall = NowMs() - start;
    const double nightcap = HostProcessCpuMs(nightcapPid) - nightcapBefore;
    const double idlePlain = HostProcessCpuMs(plainPid) - plainBefore;
    const double server = HostProcessCpuMs(wineserverPid) - serverBefore;

    std::printf("CPU time (user + system, 10 ms ticks) over %.1f s, Nightcap armed and hidden in the tray, the plain program idle beside it:\n",
                wall / 1000);
    std::printf("  Nightcap.exe          %8.0f ms  = %.3f %% of one core  (aim: under 0.03 %%)\n", nightcap,
                nightcap * 100 / wall);
    std::printf("  plain window program  %8.0f ms  = %.3f %% of one core\n", idlePlain, idlePlain * 100 / wall);
    if (serverBefore >= 0)
        std::printf("  wineserver (for both and Wine's services)  %.0f ms  = %.3f %% of one core\n", server,
                    server * 100 / wall);
    const bool fired = !nc.PowerLog().empty();
    PostMessageW(FindWindowW(kPlainClass, nullptr), WM_CLOSE, 0, 0);
    plain.WaitExit(10000);
    EndNightcap(nc, nc.Main());
    if (fired) std::printf("a power request was made during the run\n");
    return !fired;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: nightcap_wine_bench <loopback server port> [rounds] [idle seconds] [wineserver pid]\n");
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    const int seconds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 60;
    const int wineserverPid = argc > 4 ? std::atoi(argv[4]) : 0;
    LoopbackServer server(port);
    if (!ServeCannedOnlineReplies(server)) {
        std::printf("the loopback server on port %d does not answer\n", port);
        return 1;
    }
    const std::string servers = "127.0.0.1:" + std::to_string(port);
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (!MeasureStartUp(server, servers, rounds)) return 1;
    if (!MeasureIdle(servers, seconds, wineserverPid)) return 1;
    // Nothing may have asked for an update.
    const size_t checks = server.Requests(kVersionCheck).size();
    std::printf("version checks answered: %u\n", unsigned(checks));
    return 0;
}

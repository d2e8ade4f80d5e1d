// Update.exe under Wine against a plain window program in the same run (sh tools/bench-update-wine.sh): the
// time from starting the process to its window shown, the programs started in turn. The updater runs from a
// fresh folder with the built View.xar, its servers at a loopback port where nothing listens.
// Arguments: [rounds, 10]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/WineTiming.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TempFolder.h"

namespace {
// Looks every millisecond for a visible top-level window with the title; null when the process ends first
// or 30 seconds pass.
HWND WaitShown(const Program& program, const wchar_t* title) {
    const double giveUp = NowMs() + 30000;
    while (program.Running() && NowMs() < giveUp) {
        for (HWND window : program.TopLevelWindows())
            if (WindowTextW(window) == title && IsWindowVisible(window)) return window;
        Sleep(1);
    }
    return nullptr;
}

double TimeToWindow(const std::wstring& exe, const std::wstring& arguments, const wchar_t* title) {
    Program program;
    const double start = NowMs();
    if (!program.Start(exe, arguments)) return -1;
    HWND window = WaitShown(program, title);
    const double elapsed = NowMs() - start;
    if (!window) return -1;
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (!program.WaitExit(10000)) program.Kill();
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    SetEnvironmentVariableW(L"NIGHTCAP_UPDATE_HOST", L"127.0.0.1:1");
    SetEnvironmentVariableW(L"NIGHTCAP_STATS_HOST", L"127.0.0.1:1");
    TempFolder folder;
    const std::wstring update = folder / L"update";
    CreateDirectoryW(update.c_str(), nullptr);
    for (const wchar_t* name : {L"Update.exe", L"XLUE.dll", L"View.xar"})
        CopyFileTo(BuildFolder() + L"\\" + name, update + L"\\" + name);
    const std::wstring plain = BuildFolder() + L"\\PlainWindow.exe";
    // One start of each first, so that both find the files in the cache.
    TimeToWindow(plain, L"", L"Plain window");
    TimeToWindow(update + L"\\Update.exe", L"-1", L"更新升级程序_lumio");
    std::vector<double> plainTimes, updateTimes;
    for (int i = 0; i < rounds; ++i) {
        const double p = TimeToWindow(plain, L"", L"Plain window");
        const double u = TimeToWindow(update + L"\\Update.exe", L"-1", L"更新升级程序_lumio");
        if (p < 0 || u < 0) {
            std::printf("round %d failed (plain %.1f ms, updater %.1f ms)\n", i + 1, p, u);
            return 1;
        }
        plainTimes.push_back(p);
        updateTimes.push_back(u);
    }
    const double p = Median(plainTimes), u = Median(updateTimes);
    std::printf("start to window shown, median of %d rounds under Wine:\n", rounds);
    std::printf("  plain window program  %8.1f ms\n", p);
    std::printf("  Update.exe -1         %8.1f ms\n", u);
    std::printf("  ratio                 %8.2f\n", u / p);
    return 0;
}

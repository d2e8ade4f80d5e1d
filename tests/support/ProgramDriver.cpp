#include "tests/support/ProgramDriver.h"

#include "common/OwnProgram.h"

std::wstring BuildFolder() {
    const std::wstring folder = OwnProgramFolder();
    return folder.substr(0, folder.size() - 1);
}

bool Program::Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& workDir) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    std::wstring dir = workDir.empty() ? exe.substr(0, exe.find_last_of(L'\\')) : workDir;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return false;
    handles_ = ProcessHandles::From(pi);
    WaitForInputIdle(pi.hProcess, 5000);
    return true;
}

bool Program::WaitExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!handles_.process) return true;
    if (WaitForSingleObject(handles_.process.Get(), timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(handles_.process.Get(), exitCode);
    return true;
}

bool Program::Running() const {
    return handles_.process && WaitForSingleObject(handles_.process.Get(), 0) == WAIT_TIMEOUT;
}

void Program::Kill() {
    if (Running()) {
        TerminateProcess(handles_.process.Get(), 1);
        WaitForSingleObject(handles_.process.Get(), 5000);
    }
}

Program::~Program() { Kill(); }

namespace {
struct EnumState {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    auto* state = reinterpret_cast<EnumState*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == state->pid) state->found.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> Program::TopLevelWindows() const {
    EnumState state{handles_.processId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

HWND Program::WaitForWindow(const std::wstring& className, DWORD timeoutMs) const {
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND hwnd : TopLevelWindows())
                if (ClassNameOf(hwnd) == className) {
                    result = hwnd;
                    return true;
                }
            return !Running();
        },
        timeoutMs);
    return result;
}

namespace {
struct ChildSearch {
    int id;
    HWND found;
};
BOOL CALLBACK MatchChildId(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<ChildSearch*>(lParam);
    if (GetDlgCtrlID(hwnd) != search->id) return TRUE;
    search->found = hwnd;
    return FALSE;
}
}  // namespace

HWND ChildWithId(HWND parent, int id) {
    ChildSearch search{id, nullptr};
    EnumChildWindows(parent, MatchChildId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowTextW(HWND hwnd) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::string WindowTextA(HWND hwnd) {
    char text[1024] = {};
    SendMessageTimeoutA(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::wstring ClassNameOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

#include "tests/nightcap/ShellBalloons.h"

#include <commctrl.h>

#include <memory>
#include <vector>

#include "common/Handles.h"
#include "tests/support/ProgramDriver.h"

namespace {

// The shell shows balloon notices as tooltip windows of its own.
BOOL CALLBACK CollectShellBalloon(HWND hwnd, LPARAM lParam) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != GetCurrentProcessId() && IsWindowVisible(hwnd) && ClassNameOf(hwnd) == L"tooltips_class32")
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

// Memory in another process, freed with the object.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size)
        : process_(process), at_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory() {
        if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    }
    void* At() const { return at_; }

private:
    HANDLE process_;
    void* at_;
};

// The text a balloon shows (the shell's tooltip does not hand back its title). The tooltip window belongs to the
// shell's process, so the records its messages fill must lie in that process's memory.
bool ReadBalloonText(HWND balloon, std::wstring* text) {
    struct Records {
        TOOLINFOW tool;
        wchar_t text[1024];  // the tooltip copies up to 1024 characters whatever the size given
    };
    DWORD id = 0;
    GetWindowThreadProcessId(balloon, &id);
    UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id));
    if (!process) return false;
    RemoteMemory memory(process.Get(), sizeof(Records));
    auto* remote = static_cast<Records*>(memory.At());
    if (!remote) return false;
    auto put = [&](void* to, const void* from, size_t size) {
        return WriteProcessMemory(process.Get(), to, from, size, nullptr) != FALSE;
    };
    auto get = [&](void* to, const void* from, size_t size) {
        return ReadProcessMemory(process.Get(), from, to, size, nullptr) != FALSE;
    };
    auto local = std::make_unique<Records>();
    local->tool.cbSize = sizeof local->tool;
    if (!put(&remote->tool, &local->tool, sizeof local->tool) ||
        !SendMessageW(balloon, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&remote->tool)) ||
        !get(&local->tool, &remote->tool, sizeof local->tool))
        return false;
    local->tool.lpszText = remote->text;
    if (!put(&remote->tool, &local->tool, sizeof local->tool)) return false;
    SendMessageW(balloon, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&remote->tool));
    if (!get(local->text, remote->text, sizeof local->text)) return false;
    local->text[1023] = L'\0';
    *text = local->text;
    return true;
}

}  // namespace

HWND BalloonShowing(const std::wstring& expected) {
    std::vector<HWND> balloons;
    EnumWindows(CollectShellBalloon, reinterpret_cast<LPARAM>(&balloons));
    for (HWND balloon : balloons) {
        std::wstring text;
        if (ReadBalloonText(balloon, &text) && text == expected) return balloon;
    }
    return nullptr;
}


#include "tests/update/UpdaterFixture.h"

std::wstring TestPackage(const std::wstring& name) { return BuildFolder() + L"\\testpackages\\" + name + L".xar"; }

std::wstring MakeUpdaterFolder(const TempFolder& folder, const std::wstring& package, const std::wstring& exe) {
    const std::wstring update = folder / L"update";
    CreateDirectoryW(update.c_str(), nullptr);
    CopyFileTo(BuildFolder() + L"\\" + exe, update + L"\\Update.exe");
    CopyFileTo(BuildFolder() + L"\\XLUE.dll", update + L"\\XLUE.dll");
    if (!package.empty()) CopyFileTo(package, update + L"\\View.xar");
    return update + L"\\Update.exe";
}

std::vector<HWND> WindowsTitled(const Program& program, const std::wstring& title) {
    std::vector<HWND> found;
    for (HWND hwnd : program.TopLevelWindows())
        if (WindowTextW(hwnd) == title) found.push_back(hwnd);
    return found;
}

HWND WaitForTitledWindow(const Program& program, const std::wstring& title, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND hwnd : WindowsTitled(program, title))
            if (IsWindowVisible(hwnd)) found = hwnd;
        return found != nullptr;
    }, timeoutMs);
    return found;
}

namespace {
BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}
}  // namespace

HWND ControlWithText(HWND window, const std::wstring& text) {
    for (HWND child : Children(window))
        if (IsWindowVisible(child) && WindowTextW(child) == text) return child;
    return nullptr;
}

std::vector<std::wstring> VisibleTexts(HWND window) {
    std::vector<std::wstring> texts;
    for (HWND child : Children(window))
        if (IsWindowVisible(child)) texts.push_back(WindowTextW(child));
    return texts;
}

void ClickCentre(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT inputs[3] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].type = INPUT_MOUSE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

std::wstring MessageBoxFirstText(HWND box) {
    std::wstring text;
    for (HWND child : Children(box))
        if (ClassNameOf(child) == L"Static" && !WindowTextW(child).empty()) return WindowTextW(child);
    return text;
}

#include "common/GdiplusUse.h"

#include <windows.h>
#include <gdiplus.h>

#include <mutex>

namespace {

std::mutex g_lock;
int g_users = 0;
ULONG_PTR g_token = 0;

}  // namespace

bool AcquireGdiplus() {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_users == 0) {
        Gdiplus::GdiplusStartupInput input;  // version 1, no background thread options
        if (Gdiplus::GdiplusStartup(&g_token, &input, nullptr) != Gdiplus::Ok) return false;
    }
    ++g_users;
    return true;
}

void ReleaseGdiplus() {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_users > 0 && --g_users == 0) Gdiplus::GdiplusShutdown(g_token);
}

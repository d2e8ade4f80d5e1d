#include "update/host/UpdaterEnd.h"

namespace update {

namespace {
std::function<void()> g_atEnd;  // set and run on the user-interface thread only
}

void WhenTheUpdaterEnds(std::function<void()> action) { g_atEnd = std::move(action); }

void EndTheUpdater() {
    if (!g_atEnd) return;
    const std::function<void()> action = std::move(g_atEnd);
    g_atEnd = nullptr;
    action();
}

}  // namespace update

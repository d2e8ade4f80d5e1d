// What the updater does last: once its window is gone, just before the process ends. The product that the
// package asks to start again (Run) is started here. Started while the updater's window still showed, its
// version check could start a new updater that finds that window and gives way to it, so a failed update
// would not be tried again until the product's next start.
#pragma once
#include <functional>

namespace update {

// Keeps the action for the updater's end; a later one replaces it, so the product is started once.
void WhenTheUpdaterEnds(std::function<void()> action);
// Runs the kept action, if any; the host calls it after its window and engine are gone.
void EndTheUpdater();

}  // namespace update

// The update operations behind the Lua methods of update.CustomClass, and the way the download worker's
// progress reaches the package's Process function.
#pragma once
#include <memory>
#include <string>

namespace update {

// What the methods of update.CustomClass run; called on the UI thread.
class UpdateOperations {
public:
    virtual ~UpdateOperations() = default;
    virtual std::wstring FetchUpdateLog() = 0;  // Log: the change-log text for the log listeners
    virtual void PrepareUpdate() = 0;           // Update: digest list, then starts the worker; returns at once
    virtual void InstallStagedFiles() = 0;      // KillProcess
    virtual void LaunchProduct() = 0;           // Run
};

// The operations the host uses; defined by the program (update/app/UpdaterOperations.cpp), or by a test.
std::unique_ptr<UpdateOperations> MakeUpdateOperations();

// Any thread: carries Process(first, second) to the UI thread, where NotifyProcess runs it. Reports made
// before the UI thread's relay exists, or after it is gone, are dropped.
void PostProgress(const std::wstring& first, const std::wstring& second);

}  // namespace update

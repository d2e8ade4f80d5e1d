// The update operations behind the package's Log, Update, KillProcess and Run, with the process-wide state
// they share: the digest list of the last PrepareUpdate, the reported progress, and how the last pass of the
// download worker ended. Each Lua call makes a fresh UpdatePass, so that state outlives the objects. Called
// on the UI thread, in the updater's working directory (the installation's update folder).
#pragma once
#include <string>

#include "update/host/UpdateOperations.h"

namespace update {

class UpdatePass final : public UpdateOperations {
public:
    // ownVersion: the updater's own version, which a signed release must be newer than.
    explicit UpdatePass(std::u16string ownVersion) : ownVersion_(std::move(ownVersion)) {}

    // The change-log text of the release on the server (ManifestDownloads.h).
    std::wstring FetchUpdateLog() override;
    // Reads the digest list and prepares the staging folder, ends the product, and starts the download worker
    // on a thread of its own; returns at once. Ignored while a worker runs.
    void PrepareUpdate() override;
    // After a pass that ended with "100": checks the staging folder again (StagedRelease.h), copies it over
    // the installation all or nothing (CopyTree.h, with the replaced files kept in update\Backup meanwhile),
    // records the release's files, and starts copy.bat (which replaces the updater's executable once the
    // updater has ended). Does nothing after a failed pass or while a worker runs; a staging folder that fails
    // the check and a copy that failed and was undone are reported to the package as "-1", "0", with nothing
    // installed.
    void InstallStagedFiles() override;
    // Starts ..\<product name>.exe once the updater's window is gone, as it ends (UpdaterEnd.h).
    void LaunchProduct() override;

private:
    std::u16string ownVersion_;
};

}  // namespace update

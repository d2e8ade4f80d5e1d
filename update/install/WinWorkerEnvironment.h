// What the download worker works with on Windows: WinINet sessions through the framework, the files of
// the installation and the staging folder, the host settings, and the package's Process function.
#pragma once
#include "update/install/DownloadWorker.h"

namespace update {

class WinWorkerEnvironment : public WorkerEnvironment {
public:
    std::unique_ptr<DownloadSession> OpenSession() override;
    std::u16string ProductName() override;
    std::u16string StatisticsHost() override;
    std::u16string UpdateHost() override;
    bool LocalFileExists(const std::u16string& path) override;
    std::string LocalMd5Hex(const std::u16string& path) override;
    std::unique_ptr<StagingFile> CreateStagingFile(const std::u16string& path) override;
    void RemoveStagingFile(const std::u16string& path) override;
    // Carries the report to the UI thread, where the package's Process runs.
    void Notify(const std::string& first, const std::string& second) override;
};

}  // namespace update

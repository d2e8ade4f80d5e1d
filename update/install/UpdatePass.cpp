#include "update/install/UpdatePass.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <atomic>

#include "common/Handles.h"
#include "common/InstallRecordFile.h"
#include "update/host/ProgramFolder.h"
#include "update/host/UpdateOperations.h"
#include "update/host/UpdaterEnd.h"
#include "update/install/CopyTree.h"
#include "update/install/DownloadWorker.h"
#include "update/install/StagedRelease.h"
#include "update/install/WinTreeFiles.h"
#include "update/install/WinWorkerEnvironment.h"
#include "update/manifest/DeleteTree.h"
#include "update/manifest/FileMd5.h"
#include "update/manifest/FilePaths.h"
#include "update/manifest/ManifestDownloads.h"
#include "update/manifest/ProductProcess.h"
#include "update/manifest/WideText.h"

namespace update {

namespace {

enum class PassState { None, Running, Complete, Failed };

// Written by the UI thread only while no worker runs, read by the worker: the lists stay as they are
// for the whole pass.
DigestList g_list;
ReportedProgress g_progress;
// Which releases this updater takes: the keys it was built with.
const ReleaseTrust g_trust = ReleaseTrust::Built();
std::atomic<PassState> g_state{PassState::None};

// The worker's environment, which records how the pass ended before the package hears of it, so that
// KillProcess called on its "100" finds the pass complete.
class PassEnvironment final : public WinWorkerEnvironment {
public:
    void Notify(const std::string& first, const std::string& second) override {
        if (first == kCompleteReport) g_state = PassState::Complete;
        if (first == kFailedReport) g_state = PassState::Failed;
        WinWorkerEnvironment::Notify(first, second);
    }
};

DWORD WINAPI DownloadWorker(void*) {
    // PrepareUpdate starts no worker for a list naming no file, so every pass ends complete or failed.
    PassEnvironment environment;
    RunDownloadPass(g_list, environment, g_progress, g_trust);
    return 0;
}

// The listed files as paths inside the installation, for its install record.
std::vector<std::u16string> ListedPaths(const DigestList& list) {
    std::vector<std::u16string> paths;
    for (const std::u16string& name : list.fileNames) {
        const std::u16string local = LocalPath(list, name);  // "..\" + folders + name
        paths.push_back(local.substr(3));
    }
    return paths;
}

// Every file under the staging folder root, with its digests as they are now.
void CollectStaged(TreeFiles& files, const std::u16string& root, const std::u16string& relative,
                   std::vector<StagedFile>& staged) {
    for (const TreeFiles::Entry& entry : files.List(relative.empty() ? root : root + u"\\" + relative)) {
        const std::u16string path = relative.empty() ? entry.name : relative + u"\\" + entry.name;
        if (entry.isFolder) {
            CollectStaged(files, root, path, staged);
            continue;
        }
        const std::optional<FileDigestTexts> digests = FileDigests(Wide(root + u"\\" + path));
        staged.push_back({path, digests ? digests->md5 : std::string(), digests ? digests->sha256 : std::string()});
    }
}

}  // namespace

std::wstring UpdatePass::FetchUpdateLog() { return update::FetchUpdateLog(); }

void UpdatePass::PrepareUpdate() {
    if (g_state == PassState::Running) return;
    g_state = PassState::None;
    // A digest list this build may not trust, or one naming no file: nothing is downloaded or installed, and
    // the package hears of it as of any failed pass. A release always lists the product's files, so an empty
    // list is one the server did not deliver (gone, or answering with an error); left to the pass, it would
    // end without a word and leave the package waiting.
    std::optional<DigestList> list = PrepareTrustedDigestList(g_trust, ownVersion_);
    if (!list || list->fileNames.empty()) {
        g_list = DigestList();
        g_state = PassState::Failed;
        PostProgress(L"-1", L"0");
        return;
    }
    g_list = std::move(*list);
    KillProduct();
    g_state = PassState::Running;
    const UniqueHandle thread(::CreateThread(nullptr, 0, DownloadWorker, nullptr, 0, nullptr));
    if (!thread) g_state = PassState::None;
}

void UpdatePass::InstallStagedFiles() {
    PassState complete = PassState::Complete;
    if (!g_state.compare_exchange_strong(complete, PassState::None)) return;
    WinTreeFiles files;
    const std::u16string staging = Utf16(ProgramFolder() + L"Temp");
    // Checked again right before the copy: a staged file changed since its download, or a file that no
    // download put there, and nothing is installed (copy.bat not even started).
    std::vector<StagedFile> staged;
    CollectStaged(files, staging, u"", staged);
    if (!IsStagedRelease(g_list, staged, g_trust)) {
        PostProgress(L"-1", L"0");
        return;
    }
    // A copy that fails part-way puts back what it replaced (the installation stays the old release), and
    // then copy.bat must not bring in the new updater either. copy.bat starts after the copy, so a release
    // that carries a new copy.bat never overwrites the running one.
    const std::u16string backup = Utf16(ProgramFolder() + L"Backup");
    DeleteTree(Wide(backup));
    const bool copied = CopyTree(files, staging, u"..", backup);
    DeleteTree(Wide(backup));
    if (!copied) {
        PostProgress(L"-1", L"0");
        return;
    }
    AddToInstallRecord(L"..\\", ListedPaths(g_list));
    ::ShellExecuteW(nullptr, L"open", L"copy.bat", nullptr, nullptr, SW_HIDE);
}

void UpdatePass::LaunchProduct() {
    WhenTheUpdaterEnds([] {
        const std::wstring product = L"..\\" + ReadProductName() + L".exe";
        ::ShellExecuteW(nullptr, L"open", product.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    });
}

}  // namespace update

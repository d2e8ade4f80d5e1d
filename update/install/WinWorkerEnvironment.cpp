#include "update/install/WinWorkerEnvironment.h"

#include <windows.h>

#include "common/Handles.h"
#include "common/RequestLimits.h"
#include "common/ServerHosts.h"
#include "framework/InternetSession.h"
#include "update/host/UpdateOperations.h"
#include "update/manifest/FileMd5.h"
#include "update/manifest/ManifestText.h"
#include "update/manifest/ProductProcess.h"
#include "update/manifest/WideText.h"

namespace update {

namespace {

class HttpConnection final : public DownloadConnection {
public:
    explicit HttpConnection(std::unique_ptr<CHttpFile> file) : file_(std::move(file)) {}
    bool Length(uint64_t& length) override {
        ULONGLONG end = 0, start = 0;
        if (!file_->Seek(0, FILE_END, end) || !file_->Seek(0, FILE_BEGIN, start)) return false;
        length = end;
        return true;
    }
    bool Read(void* buffer, size_t size, size_t& read) override {
        UINT got = 0;
        if (!file_->Read(buffer, UINT(size), got)) return false;
        read = got;
        return true;
    }

private:
    std::unique_ptr<CHttpFile> file_;
};

class HttpSession final : public DownloadSession {
public:
    // A download may take long, but a server that stops sending fails it like a cut connection.
    HttpSession() { session_.LimitWaits(kDownloadStallLimitMs); }
    bool IsOpen() const { return session_.IsOpen(); }
    std::unique_ptr<DownloadConnection> Open(const std::u16string& address) override {
        std::unique_ptr<CHttpFile> file =
            session_.OpenURL(Wide(address).c_str(), 1, INTERNET_FLAG_RELOAD | INTERNET_FLAG_TRANSFER_BINARY);
        // Anything but the file itself (a missing file, a server error page) is no download.
        DWORD status = 0;
        if (!file || !file->QueryInfoStatusCode(status) || status != HTTP_STATUS_OK) return nullptr;
        return std::make_unique<HttpConnection>(std::move(file));
    }

private:
    CInternetSession session_{L"Update"};
};

class WinStagingFile final : public StagingFile {
public:
    explicit WinStagingFile(HANDLE file) : file_(file) {}
    bool Write(const void* bytes, size_t size) override {
        DWORD written = 0;
        return ::WriteFile(file_.Get(), bytes, DWORD(size), &written, nullptr) && written == size;
    }
    bool Close() override { return ::CloseHandle(file_.Release()) != FALSE; }

private:
    UniqueHandle file_;
};

}  // namespace

std::unique_ptr<DownloadSession> WinWorkerEnvironment::OpenSession() {
    auto session = std::make_unique<HttpSession>();
    if (!session->IsOpen()) return nullptr;
    return session;
}

std::u16string WinWorkerEnvironment::ProductName() { return Utf16(ChannelProductName()); }

std::u16string WinWorkerEnvironment::StatisticsHost() { return FromAscii(ServerHost(ServerRole::Statistics)); }

std::u16string WinWorkerEnvironment::UpdateHost() { return FromAscii(ServerHost(ServerRole::Update)); }

bool WinWorkerEnvironment::LocalFileExists(const std::u16string& path) {
    WIN32_FIND_DATAW found;
    return bool(UniqueFindHandle(::FindFirstFileW(Wide(path).c_str(), &found)));
}

std::string WinWorkerEnvironment::LocalMd5Hex(const std::u16string& path) { return FileMd5Hex(Wide(path)); }

std::unique_ptr<StagingFile> WinWorkerEnvironment::CreateStagingFile(const std::u16string& path) {
    const HANDLE file =
        ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WinStagingFile>(file);
}

void WinWorkerEnvironment::RemoveStagingFile(const std::u16string& path) { ::DeleteFileW(Wide(path).c_str()); }

void WinWorkerEnvironment::Notify(const std::string& first, const std::string& second) {
    PostProgress(Wide(FromAscii(first)), Wide(FromAscii(second)));
}

}  // namespace update

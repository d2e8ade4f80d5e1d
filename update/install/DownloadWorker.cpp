#include "update/install/DownloadWorker.h"

#include "common/Md5Digest.h"
#include "common/Sha256Digest.h"
#include "update/manifest/FilePaths.h"
#include "update/manifest/ManifestText.h"

namespace update {

namespace {

// The digest of a local copy that is not there: equal to no listed digest.
const char16_t kMissingDigest[] = u"123";

struct FileJob {
    size_t index;
    size_t count;
    const std::u16string& name;
    const std::u16string& digest;
};

class Pass {
public:
    Pass(const DigestList& list, WorkerEnvironment& environment, ReportedProgress& progress,
         const ReleaseTrust& trust)
        : list_(list), environment_(environment), progress_(progress), trust_(trust) {}

    PassResult Run() {
        const size_t count = list_.fileNames.size();
        if (count == 0) return PassResult::NothingListed;
        bool failed = false;
        for (size_t index = 0; index < count; ++index) {
            const FileJob job{index, count, list_.fileNames[index], list_.fileDigests[index]};
            if (!Stage(job)) failed = true;
        }
        if (failed) {
            environment_.Notify(kFailedReport, "0");
            return PassResult::Failed;
        }
        progress_.lastText = kCompleteReport;
        environment_.Notify(kCompleteReport, progress_.downloaded ? "1" : "0");
        return PassResult::Complete;
    }

private:
    // Whether the file is up to date or now staged and checked.
    bool Stage(const FileJob& job) {
        const std::unique_ptr<DownloadSession> session = environment_.OpenSession();
        const std::u16string local = LocalPath(list_, job.name);
        const std::u16string localDigest =
            environment_.LocalFileExists(local) ? FromAscii(environment_.LocalMd5Hex(local)) : kMissingDigest;
        if (IsUpToDate(localDigest, job.digest)) return true;
        if (!session) return false;
        const std::u16string staging = StagingPath(list_, job.name);
        if (Download(*session, job, staging)) {
            // A file arrived to be installed, even one of no bytes, which made no progress report.
            progress_.downloaded = true;
            return true;
        }
        environment_.RemoveStagingFile(staging);
        return false;
    }

    bool Download(DownloadSession& session, const FileJob& job, const std::u16string& staging) {
        const std::u16string address =
            DownloadAddress(environment_.StatisticsHost(), environment_.UpdateHost(),
                            RemotePath(environment_.ProductName(), list_, job.name), job.name);
        const std::unique_ptr<DownloadConnection> connection = session.Open(address);
        uint64_t length = 0;
        if (!connection || !connection->Length(length)) return false;
        const std::unique_ptr<StagingFile> file = environment_.CreateStagingFile(staging);
        if (!file) return false;
        Md5Digest digest;
        Sha256Digest sha256;
        uint64_t received = 0;
        unsigned char block[512];
        for (;;) {
            size_t read = 0;
            if (!connection->Read(block, sizeof block, read)) return false;
            if (read == 0) break;
            if (!file->Write(block, read)) return false;
            digest.Update(block, read);
            sha256.Update(block, read);
            received += read;
            Report(OverallPercentText(job.index, job.count, received, length));
        }
        if (!file->Close() || received != length) return false;
        const std::array<uint8_t, 16> bytes = digest.Finish();
        return IsListedContent(FromAscii(HexDigits(bytes.data(), bytes.size(), false)), job.digest) &&
               trust_.AcceptsFile(list_, job.index, sha256.FinishHex());
    }

    // Sends a whole-percent text once; "100" waits for the end of the pass.
    void Report(const std::string& text) {
        if (text == progress_.lastText || text == kCompleteReport) return;
        progress_.lastText = text;
        progress_.downloaded = true;
        environment_.Notify(text, "1");
    }

    const DigestList& list_;
    WorkerEnvironment& environment_;
    ReportedProgress& progress_;
    const ReleaseTrust& trust_;
};

}  // namespace

PassResult RunDownloadPass(const DigestList& list, WorkerEnvironment& environment, ReportedProgress& progress,
                           const ReleaseTrust& trust) {
    return Pass(list, environment, progress, trust).Run();
}

}  // namespace update

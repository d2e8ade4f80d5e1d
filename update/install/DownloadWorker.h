// One pass of the download worker over the digest list: every file whose local copy differs is fetched
// into the staging folder, checked against its listed digest, and the progress reported as it goes.
// The rules only; the internet session, the files and the reports come through WorkerEnvironment.
#pragma once
#include "update/install/ProgressText.h"
#include "update/manifest/DigestList.h"
#include "update/manifest/ReleaseTrust.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace update {

// An opened download address.
class DownloadConnection {
public:
    virtual ~DownloadConnection() = default;
    // The length of the answer (seeking to its end and back to its start); false on an internet error.
    virtual bool Length(uint64_t& length) = 0;
    // Up to size bytes into buffer; read = 0 at the end. False on an internet error.
    virtual bool Read(void* buffer, size_t size, size_t& read) = 0;
};

// One internet session; the worker opens a new one for every file.
class DownloadSession {
public:
    virtual ~DownloadSession() = default;
    // Null when the address cannot be opened or does not answer with the file.
    virtual std::unique_ptr<DownloadConnection> Open(const std::u16string& address) = 0;
};

class StagingFile {
public:
    virtual ~StagingFile() = default;
    virtual bool Write(const void* bytes, size_t size) = 0;
    // Ends the file; false when it could not be written completely.
    virtual bool Close() = 0;
};

class WorkerEnvironment {
public:
    virtual ~WorkerEnvironment() = default;
    virtual std::unique_ptr<DownloadSession> OpenSession() = 0;  // null when none can be opened
    virtual std::u16string ProductName() = 0;  // on the update server: its release channel's name
    virtual std::u16string StatisticsHost() = 0;
    virtual std::u16string UpdateHost() = 0;
    // Whether a file is at a local path, and its digest (empty when it cannot be read).
    virtual bool LocalFileExists(const std::u16string& path) = 0;
    virtual std::string LocalMd5Hex(const std::u16string& path) = 0;
    // A new staging file (an earlier one is truncated), or null when it cannot be created.
    virtual std::unique_ptr<StagingFile> CreateStagingFile(const std::u16string& path) = 0;
    virtual void RemoveStagingFile(const std::u16string& path) = 0;
    // Process(first, second) in the package.
    virtual void Notify(const std::string& first, const std::string& second) = 0;
};

// The package's reports at the end of a pass.
inline constexpr char kCompleteReport[] = "100";
inline constexpr char kFailedReport[] = "-1";

enum class PassResult {
    NothingListed,  // the list was empty: nothing compared, nothing reported
    Complete,       // every listed file is up to date or staged and checked; "100" was sent
    Failed,         // some file could not be staged; "-1", "0" was sent and nothing may be installed
};

// Reads of 512 bytes. A file whose download fails (internet error, cut short, wrong digest, staging file
// not writable) is removed from the staging folder and the pass goes on; at its end the pass reports
// "-1", "0". A pass without failures ends with "100" and "1" when any file was downloaded in this process
// (the downloaded flag, set by every progress report and by every staged file), or "0" when none was. "100" is held back until then, so it only ever means "ready to install".
// A build that requires signed releases (trust) also checks every downloaded file's SHA-256; a file that
// matches its MD5 but not its SHA-256 fails like one with a wrong digest.
PassResult RunDownloadPass(const DigestList& list, WorkerEnvironment& environment, ReportedProgress& progress,
                           const ReleaseTrust& trust = ReleaseTrust());

}  // namespace update

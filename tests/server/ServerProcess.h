// Test support: the real nightcap-server as a child process on a free loopback port, the real
// nightcap-publish, a scratch folder, and a raw HTTP request whose target goes out byte for byte.
#pragma once
#include <httplib.h>

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

// 2013-06-26 19:10:05 UTC: the servers of the tests run with their clock held there unless told otherwise.
constexpr int64_t kTestClock = 1372273805;
constexpr char kTestDay[] = "2013-06-26";

// A folder of its own under the system's temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    // Writes a file (making its folders) and gives its path.
    std::filesystem::path Write(const std::string& relative, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

// A release folder of the product (its program, config.ini and a 300 KB updater, update/Update.exe); gives the
// updater's bytes.
std::string WriteTestRelease(const ScratchFolder& folder);

class ServerProcess {
public:
    // Starts the server on dataDir; waits until it listens. extraArgs go on its command line, env into its
    // environment.
    explicit ServerProcess(const std::filesystem::path& dataDir, std::vector<std::string> extraArgs = {},
                           int64_t clock = kTestClock, std::map<std::string, std::string> env = {});
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    bool Running() const { return port_ > 0; }
    int Port() const { return port_; }
    std::string HostPort() const { return "127.0.0.1:" + std::to_string(port_); }
    // Ends it with SIGTERM and gives its exit status (-1 when it did not end by itself).
    int Stop();
    // Ends it at once with SIGKILL, as a crash or a lost machine would.
    void Kill();
    pid_t Pid() const { return pid_; }

    // The most memory the server has held resident so far (its high-water mark), in KB; -1 when unknown.
    int64_t PeakResidentKb() const;

    httplib::Result Get(const std::string& target) const;
    httplib::Result Post(const std::string& target) const;

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

// Starts a program with stdout and stderr into outputFd and the environment additions; its id, or -1.
pid_t Spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env, int outputFd);
// Waits for it to end; its exit status (-1 when it did not end by itself).
int WaitExit(pid_t pid);

struct ToolRun {
    int exitCode = -1;
    std::string output;  // stdout and stderr
};
// Runs a program to its end with these arguments and environment additions.
ToolRun RunTool(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env = {});
// Runs nightcap-publish with these arguments.
ToolRun RunPublish(const std::vector<std::string>& args);

struct RawReply {
    int status = 0;
    std::string body;
};
// Sends "METHOD target HTTP/1.1" with the target exactly as given and Connection: close.
RawReply RawRequest(int port, const std::string& method, const std::string& target,
                    const std::string& extraHeaders = {});

std::string ReadFileBytes(const std::filesystem::path& path);
std::string Md5Hex(const std::string& bytes);

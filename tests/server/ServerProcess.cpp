#include "tests/server/ServerProcess.h"

#include "common/Md5Digest.h"
#include "tests/server/RawConnection.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

// posix_spawn, not fork: tests start programs while other threads of theirs are busy.
pid_t Spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env, int outputFd) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        if (env.count(text.substr(0, text.find('='))) == 0)
            environment.push_back(text);
    }
    for (const auto& [name, value] : env)
        environment.push_back(name + "=" + value);
    auto pointers = [](std::vector<std::string>& texts) {
        std::vector<char*> list;
        for (std::string& text : texts)
            list.push_back(text.data());
        list.push_back(nullptr);
        return list;
    };
    std::vector<std::string> args = argv;
    std::vector<char*> argList = pointers(args), envList = pointers(environment);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
    posix_spawn_file_actions_adddup2(&actions, outputFd, 2);
    pid_t pid = -1;
    if (posix_spawn(&pid, argList[0], &actions, nullptr, argList.data(), envList.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int WaitExit(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "nightcap-server-test-XXXXXX").string();
    if (mkdtemp(pattern.data()))
        path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    if (!path_.empty())
        fs::remove_all(path_, error);
}

fs::path ScratchFolder::Write(const std::string& relative, const std::string& bytes) const {
    const fs::path file = path_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

std::string WriteTestRelease(const ScratchFolder& folder) {
    folder.Write("Nightcap.exe", "MZ program");
    folder.Write("config.ini", "[Product]\r\n\r\nname=Nightcap\r\n");
    std::string updater;
    for (int i = 0; updater.size() < 300000; ++i)
        updater += std::to_string(i) + ",";
    folder.Write("update/Update.exe", updater);
    return updater;
}

ServerProcess::ServerProcess(const fs::path& dataDir, std::vector<std::string> extraArgs, int64_t clock,
                             std::map<std::string, std::string> env) {
    const fs::path portFile = dataDir.string() + ".port";
    std::error_code error;
    fs::remove(portFile, error);
    std::vector<std::string> argv = {NIGHTCAP_SERVER_BIN, "--data", dataDir.string(), "--host", "127.0.0.1",
                                     "--port", "0", "--port-file", portFile.string(), "--threads", "16"};
    argv.insert(argv.end(), extraArgs.begin(), extraArgs.end());
    const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    env["NIGHTCAP_SERVER_TEST_CLOCK"] = std::to_string(clock);
    pid_ = Spawn(argv, env, devNull);
    close(devNull);
    if (pid_ <= 0)
        return;
    // Ready once it has written its port; give up when it ends or after 20 seconds.
    for (int i = 0; i < 2000 && port_ == 0; ++i) {
        std::ifstream in(portFile);
        if (in >> port_)
            break;
        port_ = 0;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

ServerProcess::~ServerProcess() {
    Stop();
}

int ServerProcess::Stop() {
    if (pid_ <= 0)
        return -1;
    kill(pid_, SIGTERM);
    const int code = WaitExit(pid_);
    pid_ = -1;
    port_ = 0;
    return code;
}

void ServerProcess::Kill() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGKILL);
    WaitExit(pid_);
    pid_ = -1;
    port_ = 0;
}

httplib::Result ServerProcess::Get(const std::string& target) const {
    httplib::Client client("127.0.0.1", port_);
    return client.Get(target);
}

httplib::Result ServerProcess::Post(const std::string& target) const {
    httplib::Client client("127.0.0.1", port_);
    return client.Post(target);
}

ToolRun RunPublish(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {NIGHTCAP_PUBLISH_BIN};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunTool(argv);
}

ToolRun RunTool(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env) {
    char name[] = "/tmp/nightcap-tool-out-XXXXXX";
    const int fd = mkostemp(name, O_CLOEXEC);
    ToolRun run;
    const pid_t pid = Spawn(argv, env, fd);
    run.exitCode = pid > 0 ? WaitExit(pid) : -1;
    close(fd);
    run.output = ReadFileBytes(name);
    unlink(name);
    return run;
}

RawReply RawRequest(int port, const std::string& method, const std::string& target, const std::string& extraHeaders) {
    RawReply reply;
    RawConnection connection(port);
    const std::string request = method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                                "\r\nConnection: close\r\n" + extraHeaders + "\r\n";
    if (!connection.Connected() || !connection.Send(request))
        return reply;
    const std::string answer = connection.ReadToEnd();
    reply.status = StatusOf(answer);
    reply.body = ContentOf(answer);
    return reply;
}

int64_t ServerProcess::PeakResidentKb() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atoll(line.c_str() + 6);
    }
    return -1;
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Md5Hex(const std::string& bytes) {
    return Md5Digest::Hex(bytes.data(), bytes.size(), false);
}

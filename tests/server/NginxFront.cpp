#include "tests/server/NginxFront.h"

#include "tests/server/RawConnection.h"
#include "tests/server/ServerProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

int FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

std::string NginxFront::Program() {
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    std::stringstream folders(path + ":/usr/sbin:/sbin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const fs::path program = fs::path(folder) / "nginx";
        if (!folder.empty() && access(program.c_str(), X_OK) == 0)
            return program.string();
    }
    return {};
}

NginxFront::NginxFront(const fs::path& folder, const fs::path& dataDir, const std::vector<int>& serverPorts)
    : folder_(folder) {
    const int port = FreeLoopbackPort();
    std::string block = ReadFileBytes(NIGHTCAP_NGINX_CONF);
    block = Replaced(block, "listen 80;", "listen 127.0.0.1:" + std::to_string(port) + ";");
    std::string servers;
    for (const int serverPort : serverPorts)
        servers += "server 127.0.0.1:" + std::to_string(serverPort) + ";\n";
    block = Replaced(block, "server 127.0.0.1:8080;", servers);
    block = Replaced(block, "/var/lib/nightcap/", fs::absolute(dataDir).string() + "/");
    const std::string dir = folder.string();
    std::ofstream(folder / "nginx.conf")
        << (geteuid() == 0 ? "user root;\n" : "") << "daemon off;\nworker_processes 1;\npid " << dir
        << "/nginx.pid;\nerror_log " << dir << "/error.log;\nevents { worker_connections 512; }\nhttp {\n"
        << "access_log off;\nclient_body_temp_path " << dir << "/body;\nproxy_temp_path " << dir
        << "/proxy;\nfastcgi_temp_path " << dir << "/fastcgi;\nuwsgi_temp_path " << dir << "/uwsgi;\nscgi_temp_path "
        << dir << "/scgi;\n" << block << "}\n";
    const int log = open((folder / "start.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    pid_ = Spawn({Program(), "-c", (folder / "nginx.conf").string(), "-p", dir}, {}, log);
    close(log);
    // Ready once it accepts connections; give up when it ends or after 20 seconds.
    for (int i = 0; i < 2000 && pid_ > 0; ++i) {
        if (RawConnection(port).Connected()) {
            port_ = port;
            return;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_)
            pid_ = -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

NginxFront::~NginxFront() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        WaitExit(pid_);
    }
}

std::string NginxFront::ErrorLog() const {
    return ReadFileBytes(folder_ / "start.log") + ReadFileBytes(folder_ / "error.log");
}

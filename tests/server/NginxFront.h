// Test support: nginx with the deployment's server block (server/deploy/nginx-nightcap.conf) on a free loopback
// port, serving the release files of a data folder and passing the rest to servers on loopback; stopped with
// the object.
#pragma once
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

class NginxFront {
public:
    // The nginx program, or empty when it is not installed.
    static std::string Program();

    // folder: a scratch folder for its configuration, logs and temporary files; dataDir: the servers' data.
    NginxFront(const std::filesystem::path& folder, const std::filesystem::path& dataDir,
               const std::vector<int>& serverPorts);
    ~NginxFront();
    NginxFront(const NginxFront&) = delete;
    NginxFront& operator=(const NginxFront&) = delete;

    bool Running() const { return port_ > 0; }
    int Port() const { return port_; }
    // Its error log, for a test's failure message.
    std::string ErrorLog() const;

private:
    std::filesystem::path folder_;
    pid_t pid_ = -1;
    int port_ = 0;
};

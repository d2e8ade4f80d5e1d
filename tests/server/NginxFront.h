// Test support: nginx with the deployment's server block (server/deploy/nginx-nightcap.conf) on a free loopback
// port, passing requests to a server on loopback; stopped with the object.
#pragma once
#include <sys/types.h>

#include <filesystem>
#include <string>

class NginxFront {
public:
    // The nginx program, or empty when it is not installed.
    static std::string Program();

    // folder: a scratch folder for its configuration, logs and temporary files.
    NginxFront(const std::filesystem::path& folder, int serverPort);
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

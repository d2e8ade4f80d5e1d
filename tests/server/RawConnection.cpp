#include "tests/server/RawConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

sockaddr_in Loopback(const char* address, int port) {
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, address, &where.sin_addr);
    return where;
}

}  // namespace

RawConnection::RawConnection(int port, const char* from) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in source = Loopback(from, 0), target = Loopback("127.0.0.1", port);
    // A sender the server stops reading must not hang the test.
    const timeval tenSeconds{10, 0};
    setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &tenSeconds, sizeof tenSeconds);
    if (bind(fd_, reinterpret_cast<const sockaddr*>(&source), sizeof source) != 0 ||
        connect(fd_, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        close(fd_);
        fd_ = -1;
    }
}

RawConnection::~RawConnection() {
    if (fd_ >= 0)
        close(fd_);
}

bool RawConnection::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

bool RawConnection::SendRepeated(std::string_view piece, size_t total) {
    std::string block;
    while (block.size() < 256 * 1024)
        block += piece;
    for (size_t sent = 0; sent < total; sent += block.size()) {
        if (!Send(std::string_view(block).substr(0, std::min(block.size(), total - sent))))
            return false;
    }
    return true;
}

bool RawConnection::ReadSome(std::string& into, int timeoutMs) {
    pollfd ready{fd_, POLLIN, 0};
    if (poll(&ready, 1, timeoutMs) <= 0)
        return false;
    char buffer[65536];
    const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
    if (got <= 0)
        return false;
    into.append(buffer, static_cast<size_t>(got));
    return true;
}

std::string RawConnection::ReadToEnd(int timeoutMs) {
    std::string bytes;
    const int64_t end = NowMs() + timeoutMs;
    while (NowMs() < end && ReadSome(bytes, static_cast<int>(end - NowMs()))) {
    }
    return bytes;
}

std::string RawConnection::ReadAnswers(int count, int timeoutMs) {
    std::string bytes;
    const int64_t end = NowMs() + timeoutMs;
    size_t at = 0;
    for (int answer = 0; answer < count;) {
        const size_t headEnd = bytes.find("\r\n\r\n", at);
        if (headEnd != std::string::npos) {
            const size_t length = bytes.find("Content-Length: ", at);
            const size_t content = length < headEnd ? std::strtoull(bytes.c_str() + length + 16, nullptr, 10) : 0;
            if (bytes.size() >= headEnd + 4 + content) {
                at = headEnd + 4 + content;
                ++answer;
                continue;
            }
        }
        if (NowMs() >= end || !ReadSome(bytes, static_cast<int>(end - NowMs())))
            break;
    }
    return bytes;
}

bool RawConnection::EndedWithin(int timeoutMs) {
    std::string dropped;
    const int64_t end = NowMs() + timeoutMs;
    while (NowMs() < end) {
        pollfd ready{fd_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(end - NowMs())) <= 0)
            return false;
        if (!ReadSome(dropped, 0))
            return true;
        dropped.clear();
    }
    return false;
}

int StatusOf(const std::string& bytes) {
    return bytes.rfind("HTTP/1.1 ", 0) == 0 ? std::atoi(bytes.c_str() + 9) : 0;
}

std::string ContentOf(const std::string& bytes) {
    const size_t end = bytes.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : bytes.substr(end + 4);
}

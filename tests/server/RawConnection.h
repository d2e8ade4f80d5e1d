// Test support: one TCP connection to a server on loopback, sending and reading raw bytes, from a loopback
// address of the test's choosing (127.0.0.2 and up stand for other clients).
#pragma once
#include <string>
#include <string_view>

class RawConnection {
public:
    explicit RawConnection(int port, const char* from = "127.0.0.1");
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool Connected() const { return fd_ >= 0; }
    // Sends all of it; false when the server ended the connection first.
    bool Send(std::string_view bytes);
    // Sends `total` bytes made of `piece` repeated; false when the server ended the connection first.
    bool SendRepeated(std::string_view piece, size_t total);
    // Reads until the server ends the connection (or timeoutMs passes).
    std::string ReadToEnd(int timeoutMs = 10000);
    // Reads until `count` answers' heads and the content their Content-Length announces are in.
    std::string ReadAnswers(int count, int timeoutMs = 10000);
    // Whether the server ends the connection within timeoutMs (what it sends meanwhile is dropped).
    bool EndedWithin(int timeoutMs);

private:
    // Waits up to timeoutMs for bytes; false at the end of the connection, an error or the time-out.
    bool ReadSome(std::string& into, int timeoutMs);
    int fd_ = -1;
};

// The status of the first answer in bytes ("HTTP/1.1 404 ..."), or 0.
int StatusOf(const std::string& bytes);
// The content of the first answer in bytes (after its head).
std::string ContentOf(const std::string& bytes);

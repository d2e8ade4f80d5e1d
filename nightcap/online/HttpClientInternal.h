// What the files of HttpClient share: waiting for a request within the program's time limit while the
// calling thread's windows handle their messages, and keeping the cookies a WinINet reply sets.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "common/RequestLimits.h"
#include "nightcap/online/TextBytes.h"

namespace nightcap {

// Lets the calling thread's windows handle their messages while a request waits. A WM_QUIT taken from
// the queue is posted again for the caller's own loop; false then.
bool PumpPendingMessages();

// The end of a request begun now: no request of ours runs longer than the program's limit.
class Deadline {
public:
    Deadline() : end_(::GetTickCount64() + kNightcapRequestLimitMs) {}
    bool Passed() const { return ::GetTickCount64() >= end_; }
    DWORD Remaining() const { return Passed() ? 0 : DWORD(end_ - ::GetTickCount64()); }

private:
    ULONGLONG end_;
};

// Runs a blocking call on a thread of its own while this one waits for it, handling its messages, until the
// deadline. A call still running then is left to end by itself and its result is dropped: for stacks that
// take no time limit of their own. Nothing when the call is dropped or cannot start.
std::optional<Bytes> CallWithin(const Deadline& deadline, std::function<Bytes()> call);

// Stores the cookies of a reply's raw headers for "http://" + host.
void StoreReplyCookies(const std::string& host, const std::string& rawHeaders);

}  // namespace nightcap

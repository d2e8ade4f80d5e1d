// The framework's internet classes over WinINet: a session, and the file of an opened http address.
// Failures are returned (null, false), not thrown.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <memory>

#include "common/Handles.h"

// An opened http address: its status, its length and its bytes.
class CHttpFile {
public:
    // A request opened on a connection of its own, which it keeps.
    CHttpFile(UniqueInternet connection, HINTERNET request) : connection_(std::move(connection)), file_(request) {}

    // The status code of the answer (200 for a file).
    BOOL QueryInfoStatusCode(DWORD& status) const;
    // The position reached by moving offset bytes from FILE_BEGIN, FILE_CURRENT or FILE_END. WinINet moves
    // only within an answer it keeps; for one it does not, the end is the length the server announced and
    // the start is where nothing has been read yet. False when the position is not known.
    BOOL Seek(LONG offset, DWORD from, ULONGLONG& position);
    // Up to count bytes; read is 0 at the end. False on an internet error.
    BOOL Read(void* buffer, UINT count, UINT& read);
    void Close() { file_.Reset(); }

private:
    UniqueInternet connection_;  // closed after the request
    UniqueInternet file_;
    bool readAny_ = false;
};

class CInternetSession {
public:
    // agent: the user-agent text; access: INTERNET_OPEN_TYPE_PRECONFIG is the system's proxy configuration.
    explicit CInternetSession(LPCWSTR agent = nullptr, DWORD access = INTERNET_OPEN_TYPE_PRECONFIG);
    BOOL IsOpen() const { return bool(session_); }
    // Connecting, sending and every wait for the next bytes of the addresses opened from now on give up
    // after this many milliseconds (a read then fails).
    void LimitWaits(DWORD milliseconds);
    // Opens the http address with the flags (INTERNET_FLAG_*) and extra header lines, as a GET on a connection
    // of its own (which takes the wait limits where a whole-address open would not); null on failure. The
    // context is handed to status call-backs.
    std::unique_ptr<CHttpFile> OpenURL(LPCWSTR url, DWORD_PTR context = 1, DWORD flags = INTERNET_FLAG_TRANSFER_ASCII,
                                       LPCWSTR headers = nullptr, DWORD headersLength = 0);
    void Close() { session_.Reset(); }

private:
    UniqueInternet session_;
    DWORD waitLimit_ = 0;  // none
};

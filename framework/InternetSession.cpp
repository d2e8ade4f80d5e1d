#include "framework/InternetSession.h"

#include <string>

namespace {

void SetWaitLimits(HINTERNET handle, DWORD milliseconds) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                         INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
        ::InternetSetOptionW(handle, option, &milliseconds, sizeof milliseconds);
}

}  // namespace

BOOL CHttpFile::QueryInfoStatusCode(DWORD& status) const {
    DWORD size = sizeof status;
    return ::HttpQueryInfoW(file_.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr);
}

BOOL CHttpFile::Seek(LONG offset, DWORD from, ULONGLONG& position) {
    const DWORD moved = ::InternetSetFilePointer(file_.Get(), offset, nullptr, from, 0);
    if (moved != INVALID_SET_FILE_POINTER) {
        position = moved;
        return TRUE;
    }
    if (offset != 0) return FALSE;
    if (from == FILE_BEGIN && !readAny_) {
        position = 0;
        return TRUE;
    }
    if (from != FILE_END) return FALSE;
    wchar_t length[32] = L"";
    DWORD size = sizeof length;
    if (!::HttpQueryInfoW(file_.Get(), HTTP_QUERY_CONTENT_LENGTH, length, &size, nullptr)) return FALSE;
    wchar_t* end = nullptr;
    position = ::wcstoull(length, &end, 10);
    return end != length && *end == L'\0';
}

BOOL CHttpFile::Read(void* buffer, UINT count, UINT& read) {
    DWORD got = 0;
    if (!::InternetReadFile(file_.Get(), buffer, count, &got)) return FALSE;
    readAny_ = readAny_ || got > 0;
    read = got;
    return TRUE;
}

CInternetSession::CInternetSession(LPCWSTR agent, DWORD access)
    : session_(::InternetOpenW(agent, access, nullptr, nullptr, 0)) {}

void CInternetSession::LimitWaits(DWORD milliseconds) {
    waitLimit_ = milliseconds;
    if (session_) SetWaitLimits(session_.Get(), milliseconds);
}

std::unique_ptr<CHttpFile> CInternetSession::OpenURL(LPCWSTR url, DWORD_PTR context, DWORD flags, LPCWSTR headers,
                                                     DWORD headersLength) {
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;  // pointers into url
    if (!session_ || !::InternetCrackUrlW(url, 0, 0, &parts) || parts.nScheme != INTERNET_SCHEME_HTTP) return nullptr;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty()) path = L"/";

    UniqueInternet connection(::InternetConnectW(session_.Get(), host.c_str(), parts.nPort, nullptr, nullptr,
                                                 INTERNET_SERVICE_HTTP, 0, context));
    if (!connection) return nullptr;
    if (waitLimit_) SetWaitLimits(connection.Get(), waitLimit_);
    const DWORD requestFlags = flags & ~DWORD(INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_TRANSFER_BINARY);  // ftp's
    UniqueInternet request(
        ::HttpOpenRequestW(connection.Get(), L"GET", path.c_str(), nullptr, nullptr, nullptr, requestFlags, context));
    if (!request || !::HttpSendRequestW(request.Get(), headers, headersLength, nullptr, 0)) return nullptr;
    return std::make_unique<CHttpFile>(std::move(connection), request.Release());
}

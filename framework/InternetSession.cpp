#include "InternetSession.h"

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

std::unique_ptr<CHttpFile> CInternetSession::OpenURL(LPCWSTR url, DWORD_PTR context, DWORD flags, LPCWSTR headers,
                                                     DWORD headersLength) {
    HINTERNET file = ::InternetOpenUrlW(session_.Get(), url, headers, headersLength, flags, context);
    if (!file) return nullptr;
    return std::make_unique<CHttpFile>(file);
}

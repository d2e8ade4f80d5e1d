// The server's clock for HttpClient: the Date of a HEAD reply through "WinHttp.WinHttpRequest.5.1".
#include "nightcap/online/HttpClient.h"

#include "common/Handles.h"
#include "nightcap/online/Automation.h"
#include "nightcap/online/CalendarDate.h"
#include "nightcap/online/HttpDate.h"

#include <optional>

namespace nightcap {

namespace {

double LocalNow() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    double date = 0;
    DateFromCalendar(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, date);
    return date;
}

}  // namespace

double HttpClient::ServerTime(const std::string& baseUrl) {
    ScopedComInit com;
    AutomationObject winHttp;
    if (!winHttp.Create(L"WinHttp.WinHttpRequest.5.1")) return 0.0;
    ScopedVariant resolve, connect, send, receive, redirectsOption, off;
    SetLong(resolve, 5000);
    SetLong(connect, 5000);
    SetLong(send, 10000);
    SetLong(receive, 5000);
    winHttp.Call(L"SetTimeouts", {resolve.Get(), connect.Get(), send.Get(), receive.Get()});

    ScopedVariant verb, url, async;
    SetText(verb, "HEAD");
    SetText(url, baseUrl + "/12.123.aa");
    SetBool(async, false);
    winHttp.Call(L"open", {verb.Get(), url.Get(), async.Get()});
    // The redirect switch goes after open, which resets the request's options in some implementations:
    // the Date must be the answering server's own, not that of a page it redirects to.
    SetLong(redirectsOption, 6);  // WinHttpRequestOption_EnableRedirects
    SetBool(off, false);
    winHttp.PutIndexed(L"Option", redirectsOption.Get(), off.Get());
    const DWORD started = ::GetTickCount();
    ScopedVariant noBody;
    winHttp.Call(L"send", {noBody.Get()});

    ScopedVariant headerName, dateHeader;
    SetText(headerName, "Date");
    winHttp.Call(L"GetResponseHeader", {headerName.Get()}, dateHeader.Get());
    double date = 0;
    ParseHttpDate(TextOfVariant(*dateHeader), date);
    return BeijingServerClock(date, ::GetTickCount() - started);
}

bool HttpClient::ParseHttpDate(const std::string& text, double& date) {
    date = LocalNow();
    const std::optional<double> parsed = ParseHttpDateText(text);
    if (parsed) date = *parsed;
    return parsed.has_value();
}

}  // namespace nightcap

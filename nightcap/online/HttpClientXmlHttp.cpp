// The "msxml2.xmlhttp" side of HttpClient: one synchronous request of the automation object, run on a
// thread of its own so that it ends within the program's limit.
#include "nightcap/online/HttpClient.h"

#include "common/Handles.h"
#include "nightcap/online/Automation.h"
#include "nightcap/online/HttpClientInternal.h"

namespace nightcap {

namespace {

// The body of the reply as a byte array; empty for anything else.
Bytes ResponseBody(const VARIANT& v) {
    if (v.vt != (VT_ARRAY | VT_UI1) || !v.parray || ::SafeArrayGetDim(v.parray) != 1) return Bytes();
    LONG lower = 0, upper = -1;
    ::SafeArrayGetLBound(v.parray, 1, &lower);
    ::SafeArrayGetUBound(v.parray, 1, &upper);
    Bytes reply;
    void* data = nullptr;
    if (upper >= lower && SUCCEEDED(::SafeArrayAccessData(v.parray, &data))) {
        const auto* p = static_cast<const unsigned char*>(data);
        reply.assign(p, p + (upper - lower + 1));
        ::SafeArrayUnaccessData(v.parray);
    }
    return reply;
}

// One synchronous request (method already lower-cased); empty on any failure, an answer whose status is
// not a success included.
Bytes XmlHttpExchange(const std::string& url, const std::string& verb, const std::string& user,
                      const std::string& password, const std::string& headerName, const std::string& headerValue,
                      const std::string& body) {
    ScopedComInit com;
    AutomationObject xmlHttp;
    if (!xmlHttp.Create(L"msxml2.xmlhttp")) return Bytes();

    ScopedVariant verbArg, urlArg, async, userArg, passwordArg;
    SetText(verbArg, verb);
    SetText(urlArg, url);
    SetBool(async, false);
    bool opened;
    if (user.empty()) {
        opened = xmlHttp.Call(L"open", {verbArg.Get(), urlArg.Get(), async.Get()});
    } else {
        SetText(userArg, user);
        SetText(passwordArg, password);
        opened = xmlHttp.Call(L"open", {verbArg.Get(), urlArg.Get(), async.Get(), userArg.Get(), passwordArg.Get()});
    }
    if (!opened) return Bytes();
    if (!headerName.empty()) {
        ScopedVariant name, value;
        SetText(name, headerName);
        SetText(value, headerValue);
        xmlHttp.Call(L"setRequestHeader", {name.Get(), value.Get()});
    }
    ScopedVariant bodyArg;
    if (!body.empty()) SetText(bodyArg, body);
    if (!xmlHttp.Call(L"send", {bodyArg.Get()})) return Bytes();
    ScopedVariant status;
    if (!xmlHttp.Get(L"status", status.Get()) || FAILED(::VariantChangeType(status.Get(), status.Get(), 0, VT_I4)) ||
        (*status).lVal < 200 || (*status).lVal >= 300)
        return Bytes();

    ScopedVariant response;
    if (!xmlHttp.Get(L"responseBody", response.Get())) return Bytes();
    return ResponseBody(*response);
}

}  // namespace

Bytes HttpClient::XmlHttpGetBytes(const std::string& url, const std::string& method, const std::string& user,
                                  const std::string& password, const std::string& headerName,
                                  const std::string& headerValue, const std::string& body) {
    PumpPendingMessages();
    const Deadline deadline;
    const std::string verb = method.empty() ? "get" : LowerAscii(method);
    // The object takes no time limit: it runs on a thread of its own, and a request past the limit is dropped.
    return CallWithin(deadline, [=] {
               return XmlHttpExchange(url, verb, user, password, headerName, headerValue, body);
           }).value_or(Bytes());
}

std::string HttpClient::XmlHttpGetText(const std::string& url, const std::string& method, const std::string& user,
                                       const std::string& password, const std::string& headerName,
                                       const std::string& headerValue, const std::string& body) {
    return TextOf(XmlHttpGetBytes(url, method, user, password, headerName, headerValue, body));
}

}  // namespace nightcap

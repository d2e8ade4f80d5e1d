#include "nightcap/online/Automation.h"

#include "nightcap/online/CodePages.h"

#include <cwchar>
#include <vector>

namespace nightcap {

bool AutomationObject::Create(const wchar_t* progId) {
    CLSID clsid;
    if (FAILED(::CLSIDFromProgID(progId, &clsid))) return false;
    return SUCCEEDED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                        object_.ReceiveVoid()));
}

bool AutomationObject::Call(const wchar_t* name, std::initializer_list<const VARIANT*> args, VARIANT* result) {
    return Invoke(name, DISPATCH_METHOD, args, result);
}

bool AutomationObject::Get(const wchar_t* name, VARIANT* result, std::initializer_list<const VARIANT*> args) {
    return Invoke(name, DISPATCH_PROPERTYGET, args, result);
}

bool AutomationObject::PutIndexed(const wchar_t* name, const VARIANT* index, const VARIANT* value) {
    return Invoke(name, DISPATCH_PROPERTYPUT, {index, value}, nullptr);
}

bool AutomationObject::Invoke(const wchar_t* name, WORD flags, std::initializer_list<const VARIANT*> args,
                              VARIANT* result) {
    if (!object_) return false;
    DISPID id;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    // Invoke takes the arguments last to first; it reads them and does not free them.
    std::vector<VARIANT> reversed;
    for (auto it = args.end(); it != args.begin();) reversed.push_back(**--it);
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params = {reversed.data(), nullptr, UINT(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    ScopedVariant ignored;
    return SUCCEEDED(object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                     result ? result : ignored.Get(), nullptr, nullptr));
}

void SetText(ScopedVariant& v, const std::string& gbkText) {
    const std::wstring wide = WideFromGbk(gbkText);
    VARIANT* p = v.Receive();
    p->vt = VT_BSTR;
    p->bstrVal = ::SysAllocStringLen(wide.data(), UINT(wide.size()));
}

void SetLong(ScopedVariant& v, long value) {
    VARIANT* p = v.Receive();
    p->vt = VT_I4;
    p->lVal = value;
}

void SetBool(ScopedVariant& v, bool value) {
    VARIANT* p = v.Receive();
    p->vt = VT_BOOL;
    p->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

std::string TextOfVariant(const VARIANT& v) {
    if (v.vt != VT_BSTR || !v.bstrVal) return std::string();
    // Some servers' strings carry their terminator in the length: the text ends at the first zero.
    return GbkFromWide(std::wstring(v.bstrVal, ::wcsnlen(v.bstrVal, ::SysStringLen(v.bstrVal))));
}

}  // namespace nightcap

// Late-bound calls on a COM automation object created by its ProgID (the caller has COM initialised).
#pragma once
#include "common/Handles.h"

#include <initializer_list>
#include <string>

namespace nightcap {

class AutomationObject {
public:
    bool Create(const wchar_t* progId);
    // A method call; args in the order the method declares them.
    bool Call(const wchar_t* name, std::initializer_list<const VARIANT*> args, VARIANT* result = nullptr);
    bool Get(const wchar_t* name, VARIANT* result, std::initializer_list<const VARIANT*> args = {});
    // An indexed property: name(index) = value.
    bool PutIndexed(const wchar_t* name, const VARIANT* index, const VARIANT* value);

private:
    bool Invoke(const wchar_t* name, WORD flags, std::initializer_list<const VARIANT*> args, VARIANT* result);

    ComPtr<IDispatch> object_;
};

// Fill a variant: a BSTR from a GBK text, a 32-bit integer, a boolean.
void SetText(ScopedVariant& v, const std::string& gbkText);
void SetLong(ScopedVariant& v, long value);
void SetBool(ScopedVariant& v, bool value);
// A BSTR variant as GBK text up to its first zero (anything else gives the empty text).
std::string TextOfVariant(const VARIANT& v);

}  // namespace nightcap

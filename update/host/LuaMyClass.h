// The native object behind each update.CustomClass value, its Lua methods and the factory object that
// makes them. Listener lists keep registration order, accept duplicates and never shrink; a dispatch
// reads the list's length again after every call, so a listener attached during it is called too.
#pragma once
#include <string>
#include <vector>

#include "engine/Xlue.h"

namespace update {

class LuaMyClass;

struct ListenerRecord {
    // The call-back that pushes this list's argument and calls the function.
    void (*callback)(const ListenerRecord& record, lua_Integer number, const std::wstring& text);
    lua_State* L;
    int ref;  // the function, in the Lua registry
};

class LuaMyClass {
public:
    static void LuaListener(const ListenerRecord& record, lua_Integer number, const std::wstring& text);
    static void LuaLogListener(const ListenerRecord& record, lua_Integer number, const std::wstring& text);
    static void LuaUpdateListener(const ListenerRecord& record, lua_Integer number, const std::wstring& text);

    std::vector<ListenerRecord> resultListeners;
    std::vector<ListenerRecord> logListeners;
    std::vector<ListenerRecord> updateListeners;
};

// Calls every listener of the list, in order, with the number (result listeners) or the text (the others).
void Dispatch(const std::vector<ListenerRecord>& list, lua_Integer number, const std::wstring& text);

constexpr char kCustomClassName[] = "update.CustomClass";
constexpr char kFactoryObjectName[] = "update.CustomClass.Factory";
constexpr char kFactoryClassName[] = "update.CustomClass.Factory.Class";

// The member table of update.CustomClass (ends with an all-zero entry).
extern const XLLRTGlobalAPI kCustomClassMembers[];
// The global-object record of the factory.
XLLRTObject FactoryObject();

}  // namespace update

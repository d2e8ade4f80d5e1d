#include "update/host/LuaMyClass.h"

#include "common/TextConvert.h"
#include "update/host/Cupdate_lumioDlg.h"

namespace update {

namespace {
// The native object of the value at index 1, or null (a value that holds none). luaL_checkudata raises a
// Lua error for a value of another type; no C++ object is alive on the frames it unwinds.
LuaMyClass* Self(lua_State* L) {
    void** box = static_cast<void**>(luaL_checkudata(L, 1, kCustomClassName));
    return box ? static_cast<LuaMyClass*>(*box) : nullptr;
}

void CallListener(const ListenerRecord& record, const wchar_t* context, bool pushText, lua_Integer number,
                  const std::wstring& text) {
    lua_State* L = record.L;
    const int top = lua_gettop(L);
    lua_rawgeti(L, LUA_REGISTRYINDEX, record.ref);
    if (pushText) lua_pushstring(L, WideToUtf8(text).c_str());
    else lua_pushinteger(L, number);
    XLLRT_LuaCall(L, 1, 0, context);
    lua_settop(L, top);
}

// Appends argument 2 to the list when it is a function. (The function itself is referenced, whatever
// further arguments lie above it on the stack.)
void Attach(lua_State* L, std::vector<ListenerRecord>* list,
            void (*callback)(const ListenerRecord&, lua_Integer, const std::wstring&)) {
    if (lua_type(L, 2) != LUA_TFUNCTION) return;
    lua_pushvalue(L, 2);
    list->push_back({callback, L, luaL_ref(L, LUA_REGISTRYINDEX)});
}

int Add(lua_State* L) {
    LuaMyClass* self = Self(L);
    if (!self) {
        lua_pushnil(L);
        return 1;
    }
    // Wraps around like the machine's addition instead of overflowing.
    const lua_Integer sum = lua_Integer(static_cast<unsigned long>(lua_tointeger(L, 2)) +
                                        static_cast<unsigned long>(lua_tointeger(L, 3)));
    Dispatch(self->resultListeners, sum, {});
    lua_pushinteger(L, sum);
    return 1;
}

int AttachResultListener(lua_State* L) {
    if (LuaMyClass* self = Self(L)) Attach(L, &self->resultListeners, LuaMyClass::LuaListener);
    return 0;
}

int AttachLogListener(lua_State* L) {
    if (LuaMyClass* self = Self(L)) Attach(L, &self->logListeners, LuaMyClass::LuaLogListener);
    return 0;
}

int AttachUpdateListener(lua_State* L) {
    if (LuaMyClass* self = Self(L)) Attach(L, &self->updateListeners, LuaMyClass::LuaUpdateListener);
    return 0;
}

// Log, Update, KillProcess and Run: the operation on a fresh dialog object; the topmost argument is the
// one result.
int Log(lua_State* L) {
    LuaMyClass* self = Self(L);
    if (!self) {
        lua_pushnil(L);
        return 1;
    }
    std::wstring text;
    {
        Cupdate_lumioDlg dialog;
        text = dialog.FetchUpdateLog();
    }
    Dispatch(self->logListeners, 0, text);
    return 1;
}

template <void (Cupdate_lumioDlg::*Operation)()>
int RunOperation(lua_State* L) {
    if (!Self(L)) {
        lua_pushnil(L);
        return 1;
    }
    Cupdate_lumioDlg dialog;
    (dialog.*Operation)();
    return 1;
}

int Quit(lua_State* L) {
    if (!Self(L)) {
        lua_pushnil(L);
        return 1;
    }
    ::PostQuitMessage(0);
    return 1;
}

int CollectGarbage(lua_State* L) {
    void** box = static_cast<void**>(luaL_checkudata(L, 1, kCustomClassName));
    if (box && *box) {
        delete static_cast<LuaMyClass*>(*box);
        *box = nullptr;
    }
    return 0;
}

int CreateInstance(lua_State* L) {
    XLLRT_PushXLObject(L, kCustomClassName, new LuaMyClass);
    return 1;
}

void* __stdcall GetFactory(void*) {
    static char* handle = new char(0);  // one handle for every lookup, never freed
    return handle;
}

const XLLRTGlobalAPI kFactoryMembers[] = {{"CreateInstance", CreateInstance, 0}, {nullptr, nullptr, 0}};
}  // namespace

const XLLRTGlobalAPI kCustomClassMembers[] = {
    {"Add", Add, 0},
    {"AttachResultListener", AttachResultListener, 0},
    {"Log", Log, 0},
    {"AttachLogListener", AttachLogListener, 0},
    {"Update", RunOperation<&Cupdate_lumioDlg::PrepareUpdate>, 0},
    {"AttachUpdateListener", AttachUpdateListener, 0},
    {"KillProcess", RunOperation<&Cupdate_lumioDlg::InstallStagedFiles>, 0},
    {"Quit", Quit, 0},
    {"Run", RunOperation<&Cupdate_lumioDlg::LaunchProduct>, 0},
    {"__gc", CollectGarbage, 0},
    {nullptr, nullptr, 0},
};

XLLRTObject FactoryObject() {
    XLLRTObject object = {};
    object.getObject = GetFactory;
    object.userData = nullptr;
    object.objName = kFactoryObjectName;
    object.className = kFactoryClassName;
    object.memberFunctions = kFactoryMembers;
    return object;
}

void LuaMyClass::LuaListener(const ListenerRecord& record, lua_Integer number, const std::wstring& text) {
    CallListener(record, L"LuaMyClass::LuaListener", false, number, text);
}

void LuaMyClass::LuaLogListener(const ListenerRecord& record, lua_Integer number, const std::wstring& text) {
    CallListener(record, L"LuaMyClass::LuaLogListener", true, number, text);
}

void LuaMyClass::LuaUpdateListener(const ListenerRecord& record, lua_Integer number, const std::wstring& text) {
    CallListener(record, L"LuaMyClass::LuaUpdateListener", true, number, text);
}

void Dispatch(const std::vector<ListenerRecord>& list, lua_Integer number, const std::wstring& text) {
    for (size_t i = 0; i < list.size(); ++i) {
        const ListenerRecord record = list[i];  // a copy: the call may grow the list
        record.callback(record, number, text);
    }
}

}  // namespace update

// The Lua side of the toolkit: window and control values are userdata holding ids, looked up on every
// call, so a value kept after its window closed does nothing instead of touching freed memory.
#include "engine/Toolkit.h"

#include <map>
#include <memory>
#include <optional>

#include "common/TextConvert.h"
#include "engine/Layout.h"
#include "engine/LuaFunctionRef.h"
#include "engine/LuaHost.h"
#include "engine/UiWindow.h"

namespace {
constexpr char kWindowClass[] = "xlue.window";
constexpr char kControlClass[] = "xlue.control";

std::map<int, std::unique_ptr<UiWindow>> g_windows;
int g_nextWindow = 1;

struct ControlValue {
    int window;
    size_t index;
};

UiWindow* WindowById(int id) {
    auto it = g_windows.find(id);
    return it == g_windows.end() ? nullptr : it->second.get();
}

UiWindow* CheckWindow(lua_State* L) {
    const int id = *static_cast<int*>(luaL_checkudata(L, 1, kWindowClass));
    return WindowById(id);
}

UiControl* CheckControl(lua_State* L) {
    const ControlValue value = *static_cast<ControlValue*>(luaL_checkudata(L, 1, kControlClass));
    UiWindow* owner = WindowById(value.window);
    return owner ? owner->ControlAt(value.index) : nullptr;
}

int LoadWindow(lua_State* L) {
    const char* path = luaL_checkstring(L, 1);
    const std::string* layout = PackageFile(Utf8ToWide(path));
    if (!layout) return luaL_error(L, "no layout %s in the package", path);
    auto window = std::make_unique<UiWindow>(g_nextWindow++);
    std::wstring error;
    if (!window->Create(ParseLayout(layout->data(), layout->size()), &error)) {
        const std::string text = WideToUtf8(error);
        window.reset();
        lua_pushstring(L, text.c_str());
        return lua_error(L);  // no C++ object with a destructor is left on this frame
    }
    const int id = window->Id();
    g_windows[id] = std::move(window);
    *static_cast<int*>(lua_newuserdata(L, sizeof(int))) = id;
    luaL_getmetatable(L, kWindowClass);
    lua_setmetatable(L, -2);
    return 1;
}

int WindowShow(lua_State* L) {
    if (UiWindow* w = CheckWindow(L)) w->Show();
    return 0;
}

int WindowMinimize(lua_State* L) {
    if (UiWindow* w = CheckWindow(L)) w->Minimize();
    return 0;
}

int WindowClose(lua_State* L) {
    if (UiWindow* w = CheckWindow(L)) w->CloseLater();
    return 0;
}

int WindowIsOpen(lua_State* L) {
    lua_pushboolean(L, CheckWindow(L) != nullptr);
    return 1;
}

int WindowSetTitle(lua_State* L) {
    UiWindow* w = CheckWindow(L);
    const char* title = luaL_checkstring(L, 2);
    if (w) w->SetTitle(Utf8ToWide(title));
    return 0;
}

int WindowControl(lua_State* L) {
    UiWindow* w = CheckWindow(L);
    const char* id = luaL_checkstring(L, 2);
    const std::optional<size_t> index = w ? w->FindControl(id) : std::nullopt;
    if (!index) {
        lua_pushnil(L);
        return 1;
    }
    *static_cast<ControlValue*>(lua_newuserdata(L, sizeof(ControlValue))) = {w->Id(), *index};
    luaL_getmetatable(L, kControlClass);
    lua_setmetatable(L, -2);
    return 1;
}

int WindowOnClose(lua_State* L) {
    UiWindow* w = CheckWindow(L);
    if (w) w->SetOnClose(FunctionAt(L, 2));
    return 0;
}

int WindowSetTimer(lua_State* L) {
    UiWindow* w = CheckWindow(L);
    const lua_Integer ms = luaL_checkinteger(L, 2);
    luaL_checktype(L, 3, LUA_TFUNCTION);
    if (!w) return 0;
    const UINT_PTR id = w->StartTimer(UINT(ms < 1 ? 1 : ms), FunctionAt(L, 3));
    if (id == 0) return 0;
    lua_pushinteger(L, lua_Integer(id));
    return 1;
}

int WindowKillTimer(lua_State* L) {
    UiWindow* w = CheckWindow(L);
    const UINT_PTR id = UINT_PTR(luaL_checkinteger(L, 2));
    if (w) w->StopTimer(id);
    return 0;
}

int ControlSetText(lua_State* L) {
    UiControl* c = CheckControl(L);
    size_t length = 0;
    const char* text = luaL_checklstring(L, 2, &length);
    if (c) c->SetText(Utf8ToWide(std::string_view(text, length)));
    return 0;
}

int ControlGetText(lua_State* L) {
    UiControl* c = CheckControl(L);
    if (!c) return 0;
    const std::string text = WideToUtf8(c->Text());
    lua_pushlstring(L, text.data(), text.size());
    return 1;
}

int ControlSetVisible(lua_State* L) {
    if (UiControl* c = CheckControl(L)) c->SetVisible(lua_toboolean(L, 2));
    return 0;
}

int ControlSetEnabled(lua_State* L) {
    if (UiControl* c = CheckControl(L)) c->SetEnabled(lua_toboolean(L, 2));
    return 0;
}

int ControlSetProgress(lua_State* L) {
    UiControl* c = CheckControl(L);
    const lua_Number percent = luaL_checknumber(L, 2);
    // NaN (0/0) reads as 0: converting it to int is undefined.
    if (c) c->SetProgress(!(percent >= 0) ? 0 : percent > 100 ? 100 : int(percent));
    return 0;
}

int ControlOnClick(lua_State* L) {
    UiControl* c = CheckControl(L);
    if (c) c->SetOnClick(FunctionAt(L, 2));
    return 0;
}

void NewClass(lua_State* L, const char* name, const luaL_Reg* methods) {
    luaL_newmetatable(L, name);
    lua_pushvalue(L, -1);
    lua_setfield(L, -2, "__index");
    luaL_register(L, nullptr, methods);
    lua_pop(L, 1);
}
}  // namespace

void CloseToolkitWindow(int id) { g_windows.erase(id); }

void OpenToolkit(lua_State* L) {
    const luaL_Reg windowMethods[] = {{"Show", WindowShow},         {"Minimize", WindowMinimize},
                                      {"Close", WindowClose},       {"IsOpen", WindowIsOpen},
                                      {"SetTitle", WindowSetTitle}, {"Control", WindowControl},
                                      {"OnClose", WindowOnClose},   {"SetTimer", WindowSetTimer},
                                      {"KillTimer", WindowKillTimer}, {nullptr, nullptr}};
    const luaL_Reg controlMethods[] = {{"SetText", ControlSetText},         {"GetText", ControlGetText},
                                       {"SetVisible", ControlSetVisible},   {"SetEnabled", ControlSetEnabled},
                                       {"SetProgress", ControlSetProgress}, {"OnClick", ControlOnClick},
                                       {nullptr, nullptr}};
    const luaL_Reg toolkit[] = {{"LoadWindow", LoadWindow}, {nullptr, nullptr}};
    NewClass(L, kWindowClass, windowMethods);
    NewClass(L, kControlClass, controlMethods);
    luaL_register(L, "XLUI", toolkit);
    lua_pop(L, 1);
}

void CloseToolkit() { g_windows.clear(); }

// The Lua side of the toolkit: window and control values are userdata holding ids, looked up on every
// call, so a value kept after its window closed does nothing instead of touching freed memory.
#include "engine/Toolkit.h"

#include <map>
#include <memory>

#include "common/TextConvert.h"
#include "engine/Layout.h"
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

UiControl* CheckControl(lua_State* L, UiWindow** window = nullptr) {
    const ControlValue value = *static_cast<ControlValue*>(luaL_checkudata(L, 1, kControlClass));
    UiWindow* owner = WindowById(value.window);
    if (window) *window = owner;
    return owner ? owner->ControlAt(value.index) : nullptr;
}

// Replaces *ref with a reference to the function at index (or nothing for nil).
void StoreFunction(lua_State* L, int index, int* ref) {
    if (!lua_isnil(L, index)) luaL_checktype(L, index, LUA_TFUNCTION);
    luaL_unref(L, LUA_REGISTRYINDEX, *ref);
    lua_pushvalue(L, index);
    *ref = lua_isnil(L, -1) ? (lua_pop(L, 1), LUA_NOREF) : luaL_ref(L, LUA_REGISTRYINDEX);
}

int LoadWindow(lua_State* L) {
    const char* path = luaL_checkstring(L, 1);
    const std::string* layout = PackageFile(Utf8ToWide(path));
    if (!layout) return luaL_error(L, "no layout %s in the package", path);
    auto window = std::make_unique<UiWindow>();
    std::wstring error;
    window->id = g_nextWindow++;
    if (!window->Create(ParseLayout(layout->data(), layout->size()), &error)) {
        const std::string text = WideToUtf8(error);
        window.reset();
        lua_pushstring(L, text.c_str());
        return lua_error(L);  // no C++ object with a destructor is left on this frame
    }
    const int id = window->id;
    g_windows[id] = std::move(window);
    *static_cast<int*>(lua_newuserdata(L, sizeof(int))) = id;
    luaL_getmetatable(L, kWindowClass);
    lua_setmetatable(L, -2);
    return 1;
}

int WindowShow(lua_State* L) {
    if (UiWindow* w = CheckWindow(L)) {
        ::ShowWindow(w->Hwnd(), SW_SHOWNORMAL);
        ::UpdateWindow(w->Hwnd());
        ::SetForegroundWindow(w->Hwnd());
    }
    return 0;
}

int WindowMinimize(lua_State* L) {
    if (UiWindow* w = CheckWindow(L)) ::ShowWindow(w->Hwnd(), SW_MINIMIZE);
    return 0;
}

int WindowClose(lua_State* L) {
    if (UiWindow* w = CheckWindow(L)) CloseUiWindowLater(w);
    return 0;
}

int WindowIsOpen(lua_State* L) {
    lua_pushboolean(L, CheckWindow(L) != nullptr);
    return 1;
}

int WindowSetTitle(lua_State* L) {
    UiWindow* w = CheckWindow(L);
    const char* title = luaL_checkstring(L, 2);
    if (w) ::SetWindowTextW(w->Hwnd(), Utf8ToWide(title).c_str());
    return 0;
}

int WindowControl(lua_State* L) {
    UiWindow* w = CheckWindow(L);
    const char* id = luaL_checkstring(L, 2);
    UiControl* control = w ? w->FindControl(id) : nullptr;
    if (!control) {
        lua_pushnil(L);
        return 1;
    }
    *static_cast<ControlValue*>(lua_newuserdata(L, sizeof(ControlValue))) = {w->id, w->IndexOf(control)};
    luaL_getmetatable(L, kControlClass);
    lua_setmetatable(L, -2);
    return 1;
}

int WindowOnClose(lua_State* L) {
    UiWindow* w = CheckWindow(L);
    if (w) StoreFunction(L, 2, &w->closeRef);
    return 0;
}

int WindowSetTimer(lua_State* L) {
    UiWindow* w = CheckWindow(L);
    const lua_Integer ms = luaL_checkinteger(L, 2);
    luaL_checktype(L, 3, LUA_TFUNCTION);
    if (!w) return 0;
    const UINT_PTR id = w->nextTimer++;
    if (!::SetTimer(w->Hwnd(), id, UINT(ms < 1 ? 1 : ms), nullptr)) return 0;
    int ref = LUA_NOREF;
    StoreFunction(L, 3, &ref);
    w->timerRefs[id] = ref;
    lua_pushinteger(L, lua_Integer(id));
    return 1;
}

int WindowKillTimer(lua_State* L) {
    UiWindow* w = CheckWindow(L);
    const UINT_PTR id = UINT_PTR(luaL_checkinteger(L, 2));
    if (!w) return 0;
    auto it = w->timerRefs.find(id);
    if (it == w->timerRefs.end()) return 0;
    ::KillTimer(w->Hwnd(), id);
    luaL_unref(L, LUA_REGISTRYINDEX, it->second);
    w->timerRefs.erase(it);
    return 0;
}

int ControlSetText(lua_State* L) {
    UiWindow* w = nullptr;
    UiControl* c = CheckControl(L, &w);
    size_t length = 0;
    const char* text = luaL_checklstring(L, 2, &length);
    if (c) w->SetControlText(*c, Utf8ToWide(std::string_view(text, length)));
    return 0;
}

int ControlGetText(lua_State* L) {
    UiControl* c = CheckControl(L);
    if (!c) return 0;
    const std::string text = WideToUtf8(c->text);
    lua_pushlstring(L, text.data(), text.size());
    return 1;
}

int ControlSetVisible(lua_State* L) {
    if (UiControl* c = CheckControl(L)) ::ShowWindow(c->hwnd, lua_toboolean(L, 2) ? SW_SHOWNA : SW_HIDE);
    return 0;
}

int ControlSetEnabled(lua_State* L) {
    if (UiControl* c = CheckControl(L)) ::EnableWindow(c->hwnd, lua_toboolean(L, 2));
    return 0;
}

int ControlSetProgress(lua_State* L) {
    UiWindow* w = nullptr;
    UiControl* c = CheckControl(L, &w);
    const lua_Number percent = luaL_checknumber(L, 2);
    if (c) w->SetProgress(*c, percent < 0 ? 0 : percent > 100 ? 100 : int(percent));
    return 0;
}

int ControlOnClick(lua_State* L) {
    UiControl* c = CheckControl(L);
    if (c) StoreFunction(L, 2, &c->clickRef);
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

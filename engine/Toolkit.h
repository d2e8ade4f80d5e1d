// The window toolkit scripts drive: windows laid out from a layout file of the package, with labels,
// scrollable texts, image buttons and progress bars, and Lua call-backs for clicks, closing and timers.
//
// Lua interface (global table XLUI):
//   XLUI.LoadWindow(layoutPath) -> window      creates the window hidden; errors when the layout is bad
//   window:Show() window:Minimize() window:Close() window:SetTitle(text) window:IsOpen()
//   window:Control(id) -> control or nil
//   window:OnClose(function)                   called instead of closing (close button of the system, Alt+F4)
//   window:SetTimer(ms, function(id)) -> id    repeats until window:KillTimer(id) or the window closes
//   control:SetText(text) control:GetText() control:SetVisible(bool) control:SetEnabled(bool)
//   control:SetProgress(percent 0..100) control:OnClick(function)
// Texts are UTF-8. Controls are child windows whose window text is their text, so tools can read them.
#pragma once
#include <lua.hpp>

void OpenToolkit(lua_State* L);
// Destroys every window and drops its call-backs.
void CloseToolkit();

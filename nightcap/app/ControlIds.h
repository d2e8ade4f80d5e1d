// Identifiers of the main window's and the slider window's controls and of the tray menu items.
// Tests and the skin code find controls by these numbers (GetDlgItem on the control's parent).
#pragma once

namespace nightcap {

enum ControlId : int {
    // Children of the main window.
    按钮_关闭 = 1001,
    按钮_最小 = 1002,
    透明标签_城市 = 1003,
    图片框_天气 = 1004,
    透明标签_天气 = 1005,
    透明标签_天气1 = 1006,
    透明标签_天气2 = 1007,
    图片框_切换 = 1008,
    图片框_时间 = 1009,
    透明标签_时间 = 1010,
    透明标签_版本号 = 1011,
    // Children of 图片框_切换.
    透明标签_切换1 = 1020,
    透明标签_切换2 = 1021,
    // Children of 图片框_时间.
    图片框_时 = 1030,
    图片框_分 = 1031,
    按钮_执行 = 1032,
    // Children of 图片框_时 and 图片框_分.
    标签_时 = 1040,
    编辑框_时 = 1041,
    标签_分 = 1042,
    编辑框_分 = 1043,
    // Child of the slider window.
    UI动画框 = 1050,
};

// The notification a label that acts on release sends when the left button goes down on it (STN_CLICKED
// follows on release).
constexpr int kLabelPressed = 0x4001;  // apart from every standard notification code

// Items of 托盘菜单; they arrive at the main window as WM_COMMAND.
enum TrayMenuId : int {
    菜单_显示 = 2001,
    菜单_结束 = 2002,
    菜单_推迟 = 2003,  // "推迟10分钟", while armed
    菜单_强制 = 2004,  // "强制关闭程序", checked by default
    // "到时操作": one item per power action, 菜单_操作 + the action (PowerChoice.h).
    菜单_操作 = 2010,
};

// Timers of the main window (SetTimer identifiers).
enum TimerId : int {
    时钟_时间 = 3001,
    时钟_呼起 = 3002,
};

}  // namespace nightcap

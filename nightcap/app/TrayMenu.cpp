#include "nightcap/app/TrayMenu.h"

#include "nightcap/app/ControlIds.h"
#include "nightcap/app/Scheduler.h"

namespace nightcap {

namespace {

// In the order the menu lists them.
const int kMenuActions[] = {kShutDown, kRestart, kSleep, kHibernate, kLogOff, kLock};

UniqueMenu MakeActionMenu(const PowerChoice& choice) {
    UniqueMenu owner(CreatePopupMenu());
    HMENU menu = owner.Get();
    if (!menu) return owner;
    for (int action : kMenuActions)
        AppendMenuA(menu, MF_STRING, 菜单_操作 + action, ActionWord(action).c_str());
    CheckMenuRadioItem(menu, 菜单_操作 + kFirstPowerAction, 菜单_操作 + kLastPowerAction, 菜单_操作 + choice.action,
                       MF_BYCOMMAND);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | (choice.force ? MF_CHECKED : MF_UNCHECKED), 菜单_强制, "强制关闭程序");
    return owner;
}

void ChoosePower(NightcapApp& app, PowerChoice choice) {
    app.schedule.power = choice;
    app.settings.SavePowerChoice(choice);
    if (app.schedule.running) OnClockTick(app);  // the status line names the new action
}

}  // namespace

void FillTrayMenu(NightcapApp& app) {
    HMENU menu = app.main.托盘菜单.Get();
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);  // destroys the old submenu too
    // "显示" and "结束" keep their places, the new items come below them.
    AppendMenuA(menu, MF_STRING, 菜单_显示, "显示");
    AppendMenuA(menu, MF_STRING, 菜单_结束, "结束");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    if (app.schedule.running) AppendMenuA(menu, MF_STRING, 菜单_推迟, "推迟10分钟");
    UniqueMenu actions = MakeActionMenu(app.schedule.power);
    if (actions && AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(actions.Get()), "到时操作"))
        actions.Release();  // the tray menu owns it now
}

bool HandleTrayMenuCommand(NightcapApp& app, int id) {
    PowerChoice choice = app.schedule.power;
    if (id == 菜单_推迟) {
        Postpone(app, kPostponeMinutes);
    } else if (id == 菜单_强制) {
        choice.force = !choice.force;
        ChoosePower(app, choice);
    } else if (id >= 菜单_操作 + kFirstPowerAction && id <= 菜单_操作 + kLastPowerAction) {
        choice.action = id - 菜单_操作;
        ChoosePower(app, choice);
    } else {
        return false;
    }
    return true;
}

}  // namespace nightcap

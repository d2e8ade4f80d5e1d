#!/bin/sh
# Prepares the tests' Wine prefix once, then starts a persistent wineserver and the session services.
set -e
: "${WINEPREFIX:?}"
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/.tests-configured" ]; then
  wineboot -i </dev/null >/dev/null 2>&1
  # A crash ends the program with a code instead of opening the debugger's dialog.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ \
    /d none.exe /f </dev/null >/dev/null 2>&1
  # Shell links made by tests must not turn into menu entries on the host.
  wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /t REG_SZ /d '' /f </dev/null >/dev/null 2>&1
  for f in SimSun 宋体 新宋体 'Microsoft YaHei' 微软雅黑; do
    LANG=C.UTF-8 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /t REG_SZ \
      /d 'WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1
  done
  wineserver -w
  touch "$WINEPREFIX/.tests-configured"
fi
# The user's desktop is a folder of the prefix, not Wine's link to the home folder: shell links that tests
# make there would land in the host's home, where every other prefix of this user makes the same ones.
for desktop in "$WINEPREFIX"/drive_c/users/*/Desktop; do
  if [ -L "$desktop" ]; then rm "$desktop" && mkdir "$desktop"; fi
done
# The persistent server first, then the services with their output on /dev/null: a service that
# inherited a test's output would keep ctest waiting.
wineserver -p </dev/null >/dev/null 2>&1 || true
wine wineboot </dev/null >/dev/null 2>&1

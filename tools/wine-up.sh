#!/bin/sh
# Prepares the tests' Wine prefix once, then starts a persistent wineserver, the session services and, given
# as $1, the program that holds the desktop open.
# WINEPREFIX, WINEARCH, WINELOADER and WINESERVER come from the build (cmake/wine-tests.cmake).
set -e
: "${WINEPREFIX:?}" "${WINEARCH:?}" "${WINELOADER:?}" "${WINESERVER:?}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine() { "$WINELOADER" "$@"; }
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/.tests-configured" ]; then
  wine wineboot -i </dev/null >/dev/null 2>&1
  # A crash ends the program with a code instead of opening the debugger's dialog.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ \
    /d none.exe /f </dev/null >/dev/null 2>&1
  # Shell links made by tests must not turn into menu entries on the host.
  wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /t REG_SZ /d '' /f </dev/null >/dev/null 2>&1
  for f in SimSun 宋体 新宋体 'Microsoft YaHei' 微软雅黑; do
    LANG=C.UTF-8 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$f" /t REG_SZ \
      /d 'WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1
  done
  "$WINESERVER" -w
  touch "$WINEPREFIX/.tests-configured"
fi
# The persistent server first, then the services with their output on /dev/null: a service that
# inherited a test's output would keep ctest waiting.
"$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
wine wineboot </dev/null >/dev/null 2>&1
# The desktop stays in use until the server ends, so that its explorer.exe never has to start again from a
# test (tests/support/DesktopHolder.cpp): that explorer would hold the test's output open.
if [ -n "${1:-}" ]; then
  setsid "$WINELOADER" "$1" </dev/null >/dev/null 2>&1 &
fi
# Wine links Desktop, Documents, Music... to the host's home folder: the tests' shortcuts and files must stay
# inside the prefix, so those links become folders of its own.
for link in "$WINEPREFIX"/drive_c/users/*/*; do
  if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
done

#!/bin/sh
# Update.exe -1 under Wine against a plain window program in the same run: the time from start to the window
# shown (bench/UpdateWineBench.cpp).   sh tools/bench-update-wine.sh [rounds, 10]
# Runs on a display of its own and a Wine prefix of its own (build/bench-wineprefix).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${1:-10}

BUILD_DIR=$build NIGHTCAP_BUILD_TARGETS="update_wine_bench" sh "$root/tools/build.sh" >/dev/null
. "$root/tools/arch.sh"
arch_setup
export WINEPREFIX="$build/bench-wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" setpriv --bounding-set=-sys_time sh -c '
  sh "$1/tools/wine-up.sh"
  status=0
  "$WINELOADER" "$2/bin/update_wine_bench.exe" "$3" </dev/null | tr -d "\r" || status=$?
  "$WINESERVER" -k || true
  exit $status' bench "$root" "$build" "$rounds"

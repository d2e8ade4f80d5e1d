#!/bin/sh
# Update.exe -1 under Wine against a plain window program in the same run: the time from start to the window
# shown (bench/UpdateWineBench.cpp).   sh tools/bench-update-wine.sh [rounds, 10]
# Runs on a display of its own and a Wine prefix of its own (build/bench-wineprefix).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${1:-10}

sh "$root/tools/install-deps.sh"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target update_wine_bench >/dev/null

export WINEPREFIX="$build/bench-wineprefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" setpriv --bounding-set=-sys_time sh -c '
  sh "$1/tools/wine-up.sh"
  status=0
  wine "$2/bin/update_wine_bench.exe" "$3" </dev/null | tr -d "\r" || status=$?
  wineserver -k || true
  exit $status' bench "$root" "$build" "$rounds"

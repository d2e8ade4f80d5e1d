#!/bin/sh
# Sets up everything that is missing, builds the programs and runs Nightcap under Wine on a virtual screen.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

sh "$root/tools/install-deps.sh"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j"$(nproc)"

export WINEPREFIX="$build/wineprefix-run" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
run_dir="$build/run"
mkdir -p "$run_dir"
cp "$build/bin/Nightcap.exe" "$run_dir/"
[ -f "$run_dir/config.ini" ] || cp "$build/bin/config.ini" "$run_dir/"
# On a machine with a display the product opens there; otherwise on a virtual screen.
if [ -n "${DISPLAY:-}" ]; then
  exec setpriv --bounding-set=-sys_time wine "$run_dir/Nightcap.exe"
fi
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  setpriv --bounding-set=-sys_time wine "$run_dir/Nightcap.exe"

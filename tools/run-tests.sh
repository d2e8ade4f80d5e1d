#!/bin/sh
# Sets up everything that is missing, builds the Windows programs and runs the whole suite under Wine.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

sh "$root/tools/install-deps.sh"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j"$(nproc)"

# Wine may set the host clock as root: every Wine process runs without the clock capability.
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  setpriv --bounding-set=-sys_time \
  ctest --test-dir "$build" -j2 --output-on-failure "$@"

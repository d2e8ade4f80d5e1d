#!/bin/sh
# Sets up everything that is missing, builds the Windows programs and runs the whole suite under Wine.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

BUILD_DIR=$build sh "$root/tools/build.sh"

# Wine may set the host clock as root: every Wine process runs without the clock capability.
# A test that fails is run once more, both outcomes in the log: the first Nightcap window test in a fresh
# prefix has been seen to fail now and then without a known cause (README, "How the tests run").
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  setpriv --bounding-set=-sys_time \
  ctest --test-dir "$build" -j2 --output-on-failure --repeat until-pass:2 "$@"

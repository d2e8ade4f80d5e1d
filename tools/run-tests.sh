#!/bin/sh
# Sets up everything that is missing, builds the Windows programs for the architecture this machine runs
# (tools/arch.sh) and the other architecture's shipped programs, and runs the whole suite: the tests of the
# first under Wine, the native ones, and the checks of both architectures' programs (the other's not run).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
. "$root/tools/arch.sh"
arch_setup

# The other architecture's shipped programs, from the same sources, in a tree of their own inside the build
# folder; its third-party sources are the main tree's.
other=$build/other-$OTHER_ARCH
BUILD_DIR=$other NIGHTCAP_ARCH=$OTHER_ARCH NIGHTCAP_BUILD_TARGETS=setup_full NIGHTCAP_DEPS_DIR=$build/_deps \
  sh "$root/tools/build.sh"
BUILD_DIR=$build NIGHTCAP_OTHER_ARCH_BIN=$other/bin sh "$root/tools/build.sh"

# Wine may set the host clock as root: every Wine process runs without the clock capability.
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  setpriv --bounding-set=-sys_time \
  ctest --test-dir "$build" -j2 --output-on-failure "$@"

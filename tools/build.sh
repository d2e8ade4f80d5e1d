#!/bin/sh
# Sets up everything that is missing and builds the Windows programs and their tests into $BUILD_DIR
# (default build/), for NIGHTCAP_ARCH (default: the architecture this machine runs; tools/arch.sh).
# Running it again installs nothing and rebuilds only what changed.
#   NIGHTCAP_BUILD_TARGETS   build only these targets (e.g. setup_full: the shipped programs)
#   NIGHTCAP_OTHER_ARCH_BIN  the other architecture's bin folder, for the tests that check its programs
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
. "$root/tools/arch.sh"
arch_setup

sh "$root/tools/install-deps.sh"
toolchain=$root/cmake/mingw-$NIGHTCAP_ARCH.cmake
if [ -f "$build/CMakeCache.txt" ] && ! grep -qx "CMAKE_TOOLCHAIN_FILE:[A-Z]*=$toolchain" "$build/CMakeCache.txt"; then
  echo "build: $build was configured for another architecture or tree; remove it or choose BUILD_DIR" >&2
  exit 2
fi
sh "$root/tools/fetch-sources.sh" "${NIGHTCAP_DEPS_DIR:-$build/_deps}"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    ${NIGHTCAP_DEPS_DIR:+-DDEPS_DIR=$NIGHTCAP_DEPS_DIR} >/dev/null
fi
if [ -n "${NIGHTCAP_OTHER_ARCH_BIN:-}" ]; then
  cmake "$build" -DNIGHTCAP_OTHER_ARCH_BIN="$NIGHTCAP_OTHER_ARCH_BIN" >/dev/null
fi
# shellcheck disable=SC2086
cmake --build "$build" -j"$(nproc)" ${NIGHTCAP_BUILD_TARGETS:+--target $NIGHTCAP_BUILD_TARGETS}

#!/bin/sh
# Builds the portable modules natively: "fuzz" (clang, sanitizers, libFuzzer targets) into build-fuzz,
# or "bench" (release benchmarks) into build-bench. Prints the build folder.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?usage: build-native.sh fuzz|bench}
sh "$root/tools/install-deps.sh" >&2
case "$kind" in
  fuzz)  dir=$root/build-fuzz;  opts="-DNC_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo" ;;
  bench) dir=$root/build-bench; opts="-DNC_FUZZ=OFF -DCMAKE_BUILD_TYPE=Release" ;;
  *) echo "usage: build-native.sh fuzz|bench" >&2; exit 2 ;;
esac
sh "$root/tools/fetch-sources.sh" "$dir/_deps"
if [ ! -f "$dir/build.ninja" ]; then
  # shellcheck disable=SC2086
  CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja $opts >&2
fi
cmake --build "$dir" -j"$(nproc)" >&2
echo "$dir"

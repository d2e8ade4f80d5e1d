#!/bin/sh
# Builds the native release benchmarks and runs them (all, or the ones named):
#   sh tools/bench.sh [xml_bench ...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(sh "$root/tools/build-native.sh" bench)
targets=${*:-$(cd "$build/bin" && ls -- *_bench 2>/dev/null || true)}
for target in $targets; do
  echo "== $target"
  (cd "$build" && "$build/bin/$target")
done

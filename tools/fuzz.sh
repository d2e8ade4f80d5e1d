#!/bin/sh
# Runs one libFuzzer target for a fixed time with bounded memory, then prints its statistics:
#   sh tools/fuzz.sh <target> [seconds]        e.g. sh tools/fuzz.sh xml_fuzz 600
# Seeds come from fuzz/corpus/<target without _fuzz>/ (read only); the inputs it finds go to
# build-fuzz/corpus/<target>/ and crashing inputs to build-fuzz/findings/<target>/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: fuzz.sh <target> [seconds]}
seconds=${2:-60}
build=$(sh "$root/tools/build-native.sh" fuzz)
seeds=$root/fuzz/corpus/${target%_fuzz}
work=$build/corpus/$target
findings=$build/findings/$target
mkdir -p "$work" "$findings"
[ -d "$seeds" ] || seeds=
# shellcheck disable=SC2086
exec "$build/bin/$target" "$work" $seeds -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=10 \
  -artifact_prefix="$findings/" -print_final_stats=1

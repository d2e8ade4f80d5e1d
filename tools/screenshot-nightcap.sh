#!/bin/sh
# Makes docs/screenshots/nightcap-main.png: runs Nightcap's GUI tests under Wine (one of them photographs the main
# window with the clock standing at a fixed time) and copies the picture into the docs.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
sh "$root/tools/run-tests.sh" -R nightcap_gui_test
mkdir -p "$root/docs/screenshots"
cp "$build/bin/nightcap-main.png" "$root/docs/screenshots/nightcap-main.png"
echo "$root/docs/screenshots/nightcap-main.png"

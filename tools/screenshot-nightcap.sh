#!/bin/sh
# Makes docs/screenshots/nightcap-main.png, nightcap-armed-tray.png, nightcap-weather.png and
# nightcap-tray-menu.png: runs Nightcap's GUI tests under Wine (one photographs the main window with the clock
# standing at a fixed time, another the whole screen after a countdown was armed: the windows hidden, the icon in
# the tray and its balloon; a third the main window with the weather panel filled from the test server; a fourth
# the tray menu of an armed schedule with its actions open) and copies the pictures into the docs.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
sh "$root/tools/run-tests.sh" -R 'nightcap_gui_test|nightcap_online_gui_test'
mkdir -p "$root/docs/screenshots"
for picture in nightcap-main.png nightcap-armed-tray.png nightcap-weather.png nightcap-tray-menu.png; do
  cp "$build/bin/$picture" "$root/docs/screenshots/$picture"
  echo "$root/docs/screenshots/$picture"
done

#!/bin/sh
# Nightcap.exe under Wine against a plain window program in the same run: the time from start to the main window
# shown, and the CPU time an armed Nightcap hidden in the tray uses over a minute (bench/NightcapWineBench.cpp).
#   sh tools/bench-wine.sh [rounds, 10] [idle seconds, 60]
# Runs on a display, a Wine prefix (build/bench-wineprefix) and a loopback HTTP server of its own, beside a test
# run in the same build folder if need be. Power requests are written to a log, never made.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${1:-10}
seconds=${2:-60}

BUILD_DIR=$build NIGHTCAP_BUILD_TARGETS="nightcap_wine_bench PlainWindow Nightcap test_http_server" sh "$root/tools/build.sh" >/dev/null
. "$root/tools/arch.sh"
arch_setup
export WINEPREFIX="$build/bench-wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
state="$build/bench-http-server"
serve="$root/tools/test-http-server/serve.sh"
sh "$serve" start "$build/native/bin/test-http-server" "$state" >/dev/null
trap 'sh "$serve" stop "$state"' EXIT
port=$(cat "$state/port")

# Inside the display: the prefix's persistent server and services, the benchmark, then that server ended.
# The wineserver of this prefix is the one whose working folder is named after the prefix's device and inode.
exec_bench='
  sh "$1/tools/wine-up.sh"
  server_dir=$(printf "server-%x-%x" $(stat -c "%d %i" "$WINEPREFIX"))
  server_pid=0
  for p in /proc/[0-9]*; do
    case "$(cat "$p/comm" 2>/dev/null)" in wineserver*) ;; *) continue ;; esac
    case "$(readlink "$p/cwd" 2>/dev/null)" in */"$server_dir") server_pid=${p#/proc/} ;; esac
  done
  status=0
  "$WINELOADER" "$2/bin/nightcap_wine_bench.exe" "$3" "$4" "$5" "$server_pid" </dev/null | tr -d "\r" || status=$?
  "$WINESERVER" -k || true
  exit $status'
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" setpriv --bounding-set=-sys_time \
  sh -c "$exec_bench" bench "$root" "$build" "$port" "$rounds" "$seconds"

#!/bin/sh
# Runs the product: sets up everything that is missing, builds the installer with its payload (SetupFull.exe)
# for the architecture this machine runs (tools/arch.sh; NIGHTCAP_ARCH chooses another) and runs it under Wine. It installs into the run prefix (build/wineprefix-run) and starts the installed
# Nightcap when it is done; the run lasts as long as the installer and Nightcap do, or until Ctrl+C.
# The maker's server runs beside it on 127.0.0.1 with the built release published and demo stand-ins for the
# outside sites (tools/run-server.sh); every NIGHTCAP_*_HOST points at it.
#
# With $DISPLAY set, the windows open there. Without one, the run makes a virtual display and serves it to a
# browser (x11vnc on the display, websockify and noVNC in front of it), on 127.0.0.1 only.
#
# Settings (environment):
#   NIGHTCAP_RUN_NO_BUILD=1      use the programs already in the build folder instead of building first
#   NIGHTCAP_RUN_PREFIX=DIR      the Wine prefix to install into (default: build/wineprefix-run)
#   NIGHTCAP_RUN_WEB_PORT=N      first port tried for the browser page (default 6080; the next free one is taken)
#   NIGHTCAP_RUN_TIME_LIMIT=S    stop everything after S seconds
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
prefix=${NIGHTCAP_RUN_PREFIX:-$build/wineprefix-run}
. "$root/tools/arch.sh"
arch_setup

say() { printf 'run-product: %s\n' "$*"; }

# Every process the run starts in the background is listed in $started, newest first. stop_all ends the
# Wine processes of the prefix first, then each listed process in that order (a viewer before the display
# it shows), waiting for each to end before the next.
started=""
rundir=""
start() {
  "$@" &
  started="$! $started"
}
stop_all() {
  trap - EXIT INT TERM HUP
  # A signal between starting a process and listing it must not leave that process out.
  case " $started " in *" ${!:-} "*) ;; *) started="${!:-} $started" ;; esac
  if [ -f "$prefix/system.reg" ]; then
    WINEPREFIX=$prefix "$WINESERVER" -k 2>/dev/null || true
    WINEPREFIX=$prefix "$WINESERVER" -w 2>/dev/null || true
  fi
  for pid in $started; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  [ -z "$rundir" ] || rm -rf "$rundir"
  say "stopped; nothing of this run is left running"
}
trap stop_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Waits up to $1 seconds for the command after it to succeed; fails when process $2 ends first (0: none).
wait_until() {
  limit=$1 pid=$2
  shift 2
  tries=$((limit * 10))
  while ! "$@"; do
    if [ "$pid" != 0 ] && ! kill -0 "$pid" 2>/dev/null; then return 1; fi
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}
has_text() { [ -s "$1" ] && grep -q "$2" "$1"; }
listening() {
  python3 -c 'import socket, sys; socket.create_connection(("127.0.0.1", int(sys.argv[1])), 1).close()' "$1" \
    2>/dev/null
}

if [ -z "${NIGHTCAP_RUN_NO_BUILD:-}" ]; then
  say "building (the first build installs packages and takes several minutes)"
  BUILD_DIR=$build sh "$root/tools/build.sh"
fi
setup_exe=$build/bin/SetupFull.exe
[ -f "$setup_exe" ] || { say "$setup_exe is missing: build first"; exit 1; }

if [ -n "${NIGHTCAP_RUN_TIME_LIMIT:-}" ]; then
  # A timer whose sleep ends with it, so that stopping the timer leaves nothing behind.
  start sh -c 'trap "kill \$s; exit" TERM; sleep "$1" & s=$!; wait $s
    echo "run-product: the time limit of $1 s is over"; kill -TERM "$2"' timer "$NIGHTCAP_RUN_TIME_LIMIT" $$
fi

# The virtual display, with an X cookie of its own, shown through VNC and in a browser.
serve_virtual_desktop() {
  rundir=$(mktemp -d "${TMPDIR:-/tmp}/nightcap-run.XXXXXX")
  cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
  # The display reads its cookie at start whatever display number goes with it; clients look it up by number.
  : >"$rundir/xauth"
  xauth -q -f "$rundir/xauth" add :0 MIT-MAGIC-COOKIE-1 "$cookie"
  start Xvfb -displayfd 3 -auth "$rundir/xauth" -screen 0 1024x768x24 -nolisten tcp \
    3>"$rundir/display" >"$rundir/xvfb.log" 2>&1
  xvfb=${started%% *}
  wait_until 30 "$xvfb" has_text "$rundir/display" '[0-9]' || { say "the virtual display did not start"; exit 1; }
  display=:$(tr -dc 0-9 <"$rundir/display")
  xauth -q -f "$rundir/xauth" add "$display" MIT-MAGIC-COOKIE-1 "$cookie"
  export DISPLAY="$display" XAUTHORITY="$rundir/xauth"

  start x11vnc -display "$DISPLAY" -auth "$XAUTHORITY" -localhost -nopw -forever -shared -quiet \
    >"$rundir/x11vnc.port" 2>"$rundir/x11vnc.log"
  x11vnc=${started%% *}
  wait_until 30 "$x11vnc" has_text "$rundir/x11vnc.port" '^PORT=' || { say "x11vnc did not start"; exit 1; }
  vnc_port=$(sed -n 's/^PORT=//p' "$rundir/x11vnc.port")

  web_port=${NIGHTCAP_RUN_WEB_PORT:-6080}
  last=$((web_port + 20))
  while :; do
    if ! listening "$web_port"; then
      start websockify --web /usr/share/novnc "127.0.0.1:$web_port" "127.0.0.1:$vnc_port" \
        >"$rundir/websockify.log" 2>&1
      wait_until 30 "${started%% *}" listening "$web_port" && break
    fi
    web_port=$((web_port + 1))
    [ "$web_port" -le "$last" ] || { say "no free port for the browser page up to $last"; exit 1; }
  done
  url="http://127.0.0.1:$web_port/vnc.html?autoconnect=1&resize=scale"
  say "virtual display $DISPLAY (X authority $XAUTHORITY), VNC on 127.0.0.1:$vnc_port"
  say "open in a browser on this machine: $url"
  tunnel="-L $web_port:127.0.0.1:$web_port"
}

if [ -n "${DISPLAY:-}" ]; then
  where="on the display $DISPLAY"
else
  where="in the browser page above"
  say "no display: starting a virtual one to watch in a browser"
  serve_virtual_desktop
fi

# Services the product talks to start here, through `start` so that stop_all ends them, each with the
# NIGHTCAP_*_HOST setting that points the programs at it exported before the installer starts.
. "$root/tools/run-server.sh"
server_start "$build" "$prefix-server"
if [ -n "${tunnel:-}" ]; then
  # The stats page has the server's own port: the one tunnel carries it beside the browser page.
  [ -n "${server_host:-}" ] && tunnel="$tunnel -L ${server_host#127.0.0.1:}:$server_host"
  say "from another machine: ssh -N $tunnel ${USER:-root}@$(hostname)"
  say "  then open the same addresses there"
fi

# Shortcuts made inside the prefix stay there: no menu entries or desktop files on the host.
export WINEPREFIX="$prefix" WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# Wine may set the host clock as root: every Wine process of the run goes without the clock capability.
nocap="setpriv --bounding-set=-sys_time"
if [ ! -f "$prefix/system.reg" ]; then
  say "making the Wine prefix $prefix (first run only)"
  mkdir -p "$prefix"
  $nocap "$WINELOADER" wineboot -i </dev/null >/dev/null 2>&1
  $nocap "$WINESERVER" -w
fi

start $nocap "$WINELOADER" "$setup_exe" </dev/null
setup=${started%% *}
say "installer started $where; Ctrl+C stops the run"
wait "$setup" || true
# The installed Nightcap, started by the installer, keeps the prefix's Wine server up while it runs.
say "the installer has closed; the run ends when Nightcap does (Ctrl+C stops it)"
start $nocap "$WINESERVER" -w
wait "${started%% *}" || true

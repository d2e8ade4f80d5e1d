#!/bin/sh
# Starts or stops the suite's loopback HTTP server (the ctest fixture HTTP_SERVER runs this).
#   serve.sh start SERVER_BINARY STATE_DIR   -> the server runs in the background; STATE_DIR/port holds its port
#   serve.sh stop STATE_DIR                  -> the server started from STATE_DIR is ended and gone
set -eu
action=${1:?usage: serve.sh start BINARY DIR | stop DIR}

# Whether the process runs (an ended one waiting to be reaped by init does not count).
running() {
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -c1)
  [ -n "$state" ] && [ "$state" != Z ]
}

stop_server() {
  dir=$1
  [ -f "$dir/pid" ] || return 0
  pid=$(cat "$dir/pid")
  if kill "$pid" 2>/dev/null; then
    i=0
    while running "$pid" && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
    if running "$pid"; then kill -9 "$pid" 2>/dev/null || true; fi
  fi
  rm -f "$dir/pid" "$dir/port"
}

case "$action" in
  start)
    bin=${2:?server binary}; dir=${3:?state folder}
    mkdir -p "$dir"
    stop_server "$dir"   # one left over from an interrupted run
    "$bin" "$dir" 300 </dev/null >"$dir/log" 2>&1 &
    echo $! >"$dir/pid"
    i=0
    while [ ! -f "$dir/port" ]; do
      if ! running "$(cat "$dir/pid")" || [ $i -ge 100 ]; then
        echo "the test HTTP server did not start:" >&2; cat "$dir/log" >&2; exit 1
      fi
      sleep 0.1; i=$((i + 1))
    done
    echo "test HTTP server on 127.0.0.1:$(cat "$dir/port")"
    ;;
  stop)
    stop_server "${2:?state folder}"
    ;;
  *) echo "usage: serve.sh start BINARY DIR | stop DIR" >&2; exit 2 ;;
esac

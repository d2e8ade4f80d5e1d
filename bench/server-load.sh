#!/bin/sh
# Load test of the maker's server on loopback (not part of the suite): nginx serving a static file of the
# version check's answer, then the server's version checks, then installation reports, each for a fixed time
# with 64 connections through wrk; prints requests per second and the 99th percentile latency of each and the
# server's ratios to nginx (measured in this run, on this machine), then checks that every accepted report is
# stored exactly once.
#   sh bench/server-load.sh [seconds]        (default 10 per phase)
#   BIN=build-native/bin sh bench/server-load.sh    (the programs of a build that is already there)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-10}
threads=2
connections=64

bin=${BIN:-}
if [ -z "$bin" ]; then
  sh "$root/tools/install-deps.sh" >&2
  native=$root/build-bench
  if [ ! -f "$native/build.ninja" ]; then
    cmake -S "$root" -B "$native" -G Ninja -DNC_FUZZ=OFF -DCMAKE_BUILD_TYPE=Release >&2
  fi
  cmake --build "$native" --target nightcap-server nightcap-publish >&2
  bin=$native/bin
fi
bin=$(cd "$bin" && pwd)
for tool in wrk nginx; do
  command -v $tool >/dev/null || { echo "$tool is missing: sh tools/install-deps.sh installs it" >&2; exit 1; }
done

work=$(mktemp -d /tmp/nightcap-load-XXXXXX)
server_pid=""
nginx_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
  [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT INT TERM

mkdir -p "$work/release/update"
echo "program" >"$work/release/Nightcap.exe"
echo "updater" >"$work/release/update/Update.exe"
"$bin/nightcap-publish" --data "$work/data" --product Nightcap --version 1.002 "$work/release" >/dev/null
"$bin/nightcap-server" --data "$work/data" --host 127.0.0.1 --port 0 --port-file "$work/port" \
  2>"$work/server.log" &
server_pid=$!
i=0
while [ ! -s "$work/port" ]; do
  i=$((i + 1)); [ $i -lt 200 ] || { cat "$work/server.log" >&2; exit 1; }
  sleep 0.05
done
url="http://127.0.0.1:$(cat "$work/port")"

# More fresh addresses than the reports phase can send.
python3 - "$work/reports" <<'PY'
import hashlib, sys
with open(sys.argv[1], "w") as out:
    for n in range(1500000):
        address = "%012X" % (0x1000000000 + n)
        out.write("%s %s\n" % (address, hashlib.md5(("2" + address + "7QKRT#2HW%").encode()).hexdigest()))
PY

summary() {  # wrk output -> "N req/s, p99 X"
  rps=$(sed -n 's/^Requests\/sec: *//p' "$1")
  p99=$(sed -n 's/^ *99% *//p' "$1")
  echo "$rps req/s, p99 $p99"
}
rps() { sed -n 's/^Requests\/sec: *//p' "$1"; }
p99ms() {  # wrk's "99%   7.70ms" (or us, s) in milliseconds
  sed -n 's/^ *99% *//p' "$1" | awk '/us$/ { print $0 / 1000; next } /ms$/ { print $0 + 0; next } { print $0 * 1000 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# nginx on the same machine, in the same run: the version check's answer as a static file.
mkdir -p "$work/static" "$work/nginx"
printf '1.002' >"$work/static/version.txt"
nginx_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/nginx/nginx.conf" <<EOF
daemon off;
worker_processes auto;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 1024; }
http {
  access_log off;
  client_body_temp_path $work/nginx/body;
  proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi;
  uwsgi_temp_path $work/nginx/uwsgi;
  scgi_temp_path $work/nginx/scgi;
  server {
    listen 127.0.0.1:$nginx_port;
    location / { default_type text/plain; alias $work/static/version.txt; }
  }
}
EOF
nginx -c "$work/nginx/nginx.conf" -p "$work/nginx" 2>"$work/nginx/start.log" &
nginx_pid=$!
i=0
until python3 -c "import socket; socket.create_connection(('127.0.0.1', $nginx_port))" 2>/dev/null; do
  i=$((i + 1)); [ $i -lt 200 ] || { cat "$work/nginx/start.log" >&2; exit 1; }
  sleep 0.05
done
timeout $((seconds + 30)) wrk -t$threads -c$connections -d"${seconds}s" --latency \
  "http://127.0.0.1:$nginx_port/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=1" >"$work/nginx.txt"
kill "$nginx_pid"; wait "$nginx_pid" || true; nginx_pid=""
echo "nginx, static answer:  $(summary "$work/nginx.txt")"

timeout $((seconds + 30)) wrk -t$threads -c$connections -d"${seconds}s" --latency \
  -s "$root/bench/server-load/version-check.lua" "$url" >"$work/checks.txt"
echo "version checks:        $(summary "$work/checks.txt")"
WRK_THREADS=$threads REPORTS="$work/reports" timeout $((seconds + 30)) wrk -t$threads -c$connections \
  -d"${seconds}s" --latency -s "$root/bench/server-load/report.lua" "$url" >"$work/reports.txt"
echo "installation reports:  $(summary "$work/reports.txt")"
echo "to nginx: version checks $(ratio "$(rps "$work/checks.txt")" "$(rps "$work/nginx.txt")") of its req/s," \
  "p99 $(ratio "$(p99ms "$work/checks.txt")" "$(p99ms "$work/nginx.txt")") times its p99;" \
  "reports $(ratio "$(rps "$work/reports.txt")" "$(rps "$work/nginx.txt")") of its req/s," \
  "p99 $(ratio "$(p99ms "$work/reports.txt")" "$(p99ms "$work/nginx.txt")") times"
kill "$server_pid"; wait "$server_pid" || true; server_pid=""

# wrk sends a connection's next request only after the answer to the last one, so of each thread's
# addresses, in the order sent, all but the last one per connection were answered: those must all be in
# the database, once each, and nothing that was not sent may be there.
python3 - "$work/data/server.db" "$work/reports" "$work/reports.txt" $threads $connections <<'PY'
import re, sqlite3, sys
db_path, pairs_path, wrk_out, threads, connections = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5])
runs = {}
for m in re.finditer(r"^thread (\d+) sent (\d+) accepted (\d+) refused (\d+) wrapped (\d+)$", open(wrk_out).read(), re.M):
    runs[int(m.group(1))] = tuple(int(g) for g in m.groups()[1:])
addresses = [line.split()[0] for line in open(pairs_path)]
db = sqlite3.connect(db_path)
stored = dict(db.execute("SELECT address, reports FROM installs"))
counted = db.execute("SELECT coalesce(sum(count), 0) FROM daily WHERE kind = 3").fetchone()[0]
sent_set, must = set(), set()
accepted = refused = wrapped = 0
for index, (sent, ok, bad, wrap) in runs.items():
    mine = addresses[index::threads][:sent]
    if index == 0:
        mine = mine[1:]  # wrk calls the first thread's request() once to check the script, and sends nothing
        sent -= 1
    sent_set.update(mine)
    must.update(mine[:max(0, sent - connections // threads)])
    accepted += ok; refused += bad; wrapped += wrap
missing = must - stored.keys()
strangers = stored.keys() - sent_set
twice = sum(1 for n in stored.values() if n != 1)
print("reports accepted %d, refused %d; stored %d rows (%d reports counted); answered but missing %d, "
      "stored twice %d, never sent %d" % (accepted, refused, len(stored), counted, len(missing), twice, len(strangers)))
ok = (len(runs) == threads and not wrapped and not refused and not missing and not twice and not strangers
      and accepted <= len(stored) <= len(sent_set) and counted == len(stored))
print("every accepted report stored exactly once" if ok else "MISMATCH")
sys.exit(0 if ok else 1)
PY

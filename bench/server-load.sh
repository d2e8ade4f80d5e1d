#!/bin/sh
# Load test of the maker's server on loopback (not part of the suite), in one run on this machine, each phase
# for a fixed time with 64 connections through wrk: nginx serving a static file of the version check's answer
# (the ceiling), then version checks and installation reports on one server over SQLite, then the same on two
# servers over one PostgreSQL database (a cluster of the run's own, flushing to disk as a real one does), 32
# connections to each. Prints requests per second and the 99th percentile latency of each and the ratios to
# nginx, then checks that every accepted report is stored exactly once in each database.
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
for tool in wrk nginx psql; do
  command -v $tool >/dev/null || { echo "$tool is missing: sh tools/install-deps.sh installs it" >&2; exit 1; }
done

work=$(mktemp -d /tmp/nightcap-load-XXXXXX)
chmod 755 "$work"
nginx_pid=""
cluster=$root/tests/server/postgres-cluster.sh
cleanup() {
  stop_servers
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
  [ -f "$work/pg/address" ] && sh "$cluster" stop "$work/pg"
  [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT INT TERM

wait_for_port() {  # port -> waits until something accepts on it
  i=0
  until python3 -c "import socket; socket.create_connection(('127.0.0.1', $1))" 2>/dev/null; do
    i=$((i + 1)); [ $i -lt 200 ] || { echo "nothing listens on $1" >&2; exit 1; }
    sleep 0.05
  done
}

start_server() {  # name, then the server's own arguments -> prints its URL
  name=$1
  shift
  "$bin/nightcap-server" --host 127.0.0.1 --port 0 --port-file "$work/$name.port" "$@" 2>"$work/$name.log" >&2 &
  echo $! >"$work/$name.pid"
  i=0
  while [ ! -s "$work/$name.port" ]; do
    i=$((i + 1)); [ $i -lt 200 ] || { cat "$work/$name.log" >&2; exit 1; }
    sleep 0.05
  done
  echo "http://127.0.0.1:$(cat "$work/$name.port")"
}

stop_servers() {  # the servers started so far; each ran in a subshell of the script, so its id is in a file
  for file in "$work"/*.pid; do
    [ -f "$file" ] || continue
    pid=$(cat "$file")
    rm -f "$file"
    kill "$pid" 2>/dev/null || true
    while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
  done
}

# Fresh addresses for each reports phase, more than it can send: "address check" a line.
make_reports() {  # file, first address number
  python3 - "$1" "$2" <<'PY'
import hashlib, sys
with open(sys.argv[1], "w") as out:
    for n in range(int(sys.argv[2]), int(sys.argv[2]) + 1500000):
        address = "%012X" % (0x1000000000 + n)
        out.write("%s %s\n" % (address, hashlib.md5(("2" + address + "7QKRT#2HW%").encode()).hexdigest()))
PY
}

rps() { sed -n 's/^Requests\/sec: *//p' "$@" | awk '{ sum += $1 } END { printf "%.0f", sum }'; }
p99ms() {  # wrk's "99%   7.70ms" (or us, s) in milliseconds; the highest of several runs
  sed -n 's/^ *99% *//p' "$@" |
    awk '/us$/ { v = $0 / 1000 } /ms$/ { v = $0 + 0 } /[0-9]s$/ { v = $0 * 1000 } v > max { max = v } END { printf "%.2f", max }'
}
summary() { echo "$(rps "$@") req/s, p99 $(p99ms "$@") ms"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# wrk with the given script (none: a plain GET) on each URL at once, the connections shared between them.
load() {  # output name, lua script or "", URL...
  name=$1 script=$2
  shift 2
  share=$((connections / $#)) wrk_threads=$((threads / $# > 0 ? threads / $# : 1)) n=0 wrk_pids=""
  for url in "$@"; do
    n=$((n + 1))
    if [ -n "$script" ]; then set_script="-s $script"; else set_script=""; fi
    # shellcheck disable=SC2086
    WRK_THREADS=$wrk_threads REPORTS="$work/$name.$n.reports" timeout $((seconds + 30)) \
      wrk -t$wrk_threads -c$share -d"${seconds}s" --latency $set_script "$url" >"$work/$name.$n.txt" &
    wrk_pids="$wrk_pids $!"
  done
  for pid in $wrk_pids; do wait "$pid"; done
}

mkdir -p "$work/release/update"
echo "program" >"$work/release/Nightcap.exe"
echo "updater" >"$work/release/update/Update.exe"

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
wait_for_port "$nginx_port"
load nginx "" "http://127.0.0.1:$nginx_port/pm/sd_mgr/pts/web/sd_version_sign.php?p_id=2&RequestType=1"
kill "$nginx_pid"; wait "$nginx_pid" || true; nginx_pid=""
nginx_rps=$(rps "$work"/nginx.*.txt) nginx_p99=$(p99ms "$work"/nginx.*.txt)
echo "nginx, static answer:                    $(summary "$work"/nginx.*.txt)"

versus_nginx() {  # name -> its ratios to nginx
  echo "$(ratio "$(rps "$work"/"$1".*.txt)" "$nginx_rps") of nginx's req/s," \
    "p99 $(ratio "$(p99ms "$work"/"$1".*.txt)" "$nginx_p99") times its p99"
}

# One server over SQLite.
"$bin/nightcap-publish" --data "$work/sqlite" --product Nightcap --version 1.002 "$work/release" >/dev/null
url=$(start_server sqlite --data "$work/sqlite")
load sqlite-checks "$root/bench/server-load/version-check.lua" "$url"
make_reports "$work/sqlite-reports.1.reports" 0
load sqlite-reports "$root/bench/server-load/report.lua" "$url"
stop_servers
echo "SQLite, one server, version checks:      $(summary "$work"/sqlite-checks.*.txt); $(versus_nginx sqlite-checks)"
echo "SQLite, one server, reports:             $(summary "$work"/sqlite-reports.*.txt); $(versus_nginx sqlite-reports)"

# Two servers over one PostgreSQL database and one release store.
NIGHTCAP_PG_SETTINGS="" sh "$cluster" start "$work/pg"
admin=$(cat "$work/pg/address")
psql -q "$admin" -c "CREATE DATABASE nightcap"
export NIGHTCAP_SERVER_DATABASE
NIGHTCAP_SERVER_DATABASE=$(echo "$admin" | sed 's|/postgres?|/nightcap?|')
"$bin/nightcap-publish" --data "$work/shared" --product Nightcap --version 1.002 "$work/release" >/dev/null
first=$(start_server first --data "$work/shared")
second=$(start_server second --data "$work/shared")
load pg-checks "$root/bench/server-load/version-check.lua" "$first" "$second"
make_reports "$work/pg-reports.1.reports" 2000000
make_reports "$work/pg-reports.2.reports" 4000000
load pg-reports "$root/bench/server-load/report.lua" "$first" "$second"
stop_servers
echo "PostgreSQL, two servers, version checks: $(summary "$work"/pg-checks.*.txt); $(versus_nginx pg-checks)"
echo "PostgreSQL, two servers, reports:        $(summary "$work"/pg-reports.*.txt); $(versus_nginx pg-reports)"

# wrk sends a connection's next request only after the answer to the last one, so of each thread's
# addresses, in the order sent, all but the last one per connection were answered: those must all be in
# the database, once each, and nothing that was not sent may be there.
python3 - "$work" "$connections" <<'PY'
import glob, re, sqlite3, subprocess, sys
work, connections = sys.argv[1], int(sys.argv[2])

def check(name, stored, counted):
    runs = sorted(glob.glob("%s/%s.*.txt" % (work, name)))
    sent_set, must = set(), set()
    accepted = refused = wrapped = 0
    for wrk_out in runs:
        found = re.findall(r"^thread (\d+) sent (\d+) accepted (\d+) refused (\d+) wrapped (\d+)$",
                           open(wrk_out).read(), re.M)
        addresses = [line.split()[0] for line in open(wrk_out[:-4] + ".reports")]
        for index, sent, ok, bad, wrap in (tuple(int(g) for g in m) for m in found):
            mine = addresses[index::len(found)][:sent]
            if index == 0:
                mine = mine[1:]  # wrk calls the first thread's request() once to check the script, and sends nothing
                sent -= 1
            sent_set.update(mine)
            must.update(mine[:max(0, sent - connections // len(runs) // len(found))])
            accepted += ok; refused += bad; wrapped += wrap
    missing = must - stored.keys()
    strangers = stored.keys() - sent_set
    twice = sum(1 for n in stored.values() if n != 1)
    ok = (not wrapped and not refused and not missing and not twice and not strangers
          and accepted <= len(stored) <= len(sent_set) and counted == len(stored))
    print("%s: reports accepted %d, refused %d; stored %d rows (%d reports counted); answered but missing %d, "
          "stored twice %d, never sent %d: %s" % (name, accepted, refused, len(stored), counted, len(missing), twice,
          len(strangers), "every accepted report stored exactly once" if ok else "MISMATCH"))
    return ok

db = sqlite3.connect(work + "/sqlite/server.db")
good = check("sqlite-reports", dict(db.execute("SELECT address, reports FROM installs")),
             db.execute("SELECT coalesce(sum(count), 0) FROM daily WHERE kind = 3").fetchone()[0])
address = open(work + "/pg/address").read().strip().replace("/postgres?", "/nightcap?")
def psql(sql):
    return subprocess.run(["psql", "-At", "-F", " ", address, "-c", sql], check=True, capture_output=True,
                          text=True).stdout.split()
rows = psql("SELECT address, reports FROM installs")
stored = dict(zip(rows[0::2], (int(n) for n in rows[1::2])))
good = check("pg-reports", stored, int(psql("SELECT coalesce(sum(count), 0) FROM daily WHERE kind = 3")[0])) and good
sys.exit(0 if good else 1)
PY

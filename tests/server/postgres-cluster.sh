#!/bin/sh
# The tests' own PostgreSQL server: a cluster in a folder under the build tree, listening only on a unix socket
# in a private folder under /tmp (no TCP port to clash with anything), run as an unprivileged user (PostgreSQL
# refuses root: as root the cluster belongs to the "postgres" user the Debian package makes, or "nobody").
# When that user cannot reach the build tree (a clone under /root), the cluster's data goes into the private
# folder too.
#   postgres-cluster.sh start DIR         a fresh cluster; writes DIR/address, the address of its admin database
#   postgres-cluster.sh stop DIR          stops it and removes its data
#   postgres-cluster.sh stop-server DIR   stops the server only, its data kept (a database restart)
#   postgres-cluster.sh start-server DIR  starts it again on its kept data
# NIGHTCAP_PG_SETTINGS: server settings (default "-c fsync=off": the tests need no crash safety; the load test
# passes none, so its cluster flushes as a real one does).
set -eu
usage="usage: postgres-cluster.sh start|stop|stop-server|start-server DIR"
command=${1:?$usage}
dir=${2:?$usage}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/initdb" ] || { echo "PostgreSQL is missing: sh tools/install-deps.sh installs it" >&2; exit 1; }

if [ "$(id -u)" = 0 ]; then
  owner=postgres
  id -u "$owner" >/dev/null 2>&1 || owner=nobody
  as_owner() { runuser -u "$owner" -- "$@"; }
else
  owner=$(id -un)
  as_owner() { "$@"; }
fi

# The private folder (socket, and data when it must) and the data folder of the running cluster.
private() { cat "$dir/private" 2>/dev/null || true; }
data() { cat "$dir/data-dir" 2>/dev/null || true; }
log() { echo "$(dirname "$(data)")/server.log"; }

pg_ctl_stop() {
  [ -n "$(data)" ] && [ -f "$(data)/postmaster.pid" ] || return 0
  as_owner "$bin/pg_ctl" -D "$(data)" -m fast -w -t 60 stop >/dev/null
}

pg_ctl_start() {
  as_owner "$bin/pg_ctl" -D "$(data)" -l "$(log)" -w -t 60 \
    -o "-k $(private) -c listen_addresses= -p 5432 -c max_connections=200 ${NIGHTCAP_PG_SETTINGS--c fsync=off}" \
    start >/dev/null
}

remove_cluster() {
  [ -z "$(data)" ] || rm -rf "$(data)" "$(log)"
  [ -z "$(private)" ] || rm -rf "$(private)"
  rm -f "$dir/private" "$dir/data-dir" "$dir/address"
}

case "$command" in
  start)
    # Whatever an earlier run left is stopped and made afresh.
    pg_ctl_stop || true
    remove_cluster
    socket=$(mktemp -d /tmp/nightcap-pg-XXXXXX)
    chown "$owner" "$socket"
    chmod 700 "$socket"
    echo "$socket" >"$dir/private"
    if as_owner test -x "$dir"; then echo "$dir/data"; else echo "$socket/data"; fi >"$dir/data-dir"
    mkdir "$(data)"
    : >"$(log)"
    chown "$owner" "$(data)" "$(log)"
    chmod 700 "$(data)"
    as_owner "$bin/initdb" -D "$(data)" -U nightcap -A trust -E UTF8 --locale=C --no-sync >"$dir/initdb.log"
    pg_ctl_start
    echo "postgresql:///postgres?host=$socket&port=5432&user=nightcap" >"$dir/address"
    ;;
  stop)
    pg_ctl_stop || true
    remove_cluster
    ;;
  stop-server) pg_ctl_stop ;;
  start-server) pg_ctl_start ;;
  *) echo "$usage" >&2; exit 2 ;;
esac

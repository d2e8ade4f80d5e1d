#!/bin/sh
# The tests' own PostgreSQL server: a cluster in a folder under the build tree, listening only on a unix socket
# in a private folder under /tmp (no TCP port to clash with anything), run as an unprivileged user (PostgreSQL
# refuses root: as root the cluster belongs to the "postgres" user the Debian package makes, or "nobody").
#   postgres-cluster.sh start DIR         a fresh cluster; writes DIR/address, the address of its admin database
#   postgres-cluster.sh stop DIR          stops it and removes its data
#   postgres-cluster.sh stop-server DIR   stops the server only, its data kept (a database restart)
#   postgres-cluster.sh start-server DIR  starts it again on its kept data
set -eu
command=${1:?usage: postgres-cluster.sh start|stop|stop-server|start-server DIR}
dir=${2:?usage: postgres-cluster.sh start|stop|stop-server|start-server DIR}
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

pg_ctl_stop() {
  [ ! -f "$dir/data/postmaster.pid" ] || as_owner "$bin/pg_ctl" -D "$dir/data" -m fast -w -t 60 stop >/dev/null
}

pg_ctl_start() {
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-k $(cat "$dir/socket-dir") -c listen_addresses= -p 5432 -c fsync=off -c max_connections=200" start >/dev/null
}

remove_socket_dir() {
  if [ -f "$dir/socket-dir" ]; then
    rm -rf "$(cat "$dir/socket-dir")"
    rm -f "$dir/socket-dir"
  fi
}

case "$command" in
  start)
    # Whatever an earlier run left is stopped and made afresh.
    pg_ctl_stop || true
    remove_socket_dir
    rm -rf "$dir/data" "$dir/address" "$dir/server.log"
    socket=$(mktemp -d /tmp/nightcap-pg-XXXXXX)
    echo "$socket" >"$dir/socket-dir"
    mkdir "$dir/data"
    touch "$dir/server.log"
    chown "$owner" "$socket" "$dir/data" "$dir/server.log"
    chmod 700 "$socket" "$dir/data"
    as_owner "$bin/initdb" -D "$dir/data" -U nightcap -A trust -E UTF8 --locale=C --no-sync >"$dir/initdb.log"
    pg_ctl_start
    echo "postgresql:///postgres?host=$socket&port=5432&user=nightcap" >"$dir/address"
    ;;
  stop)
    pg_ctl_stop || true
    remove_socket_dir
    rm -rf "$dir/data" "$dir/address"
    ;;
  stop-server) pg_ctl_stop ;;
  start-server) pg_ctl_start ;;
  *) echo "usage: postgres-cluster.sh start|stop|stop-server|start-server DIR" >&2; exit 2 ;;
esac

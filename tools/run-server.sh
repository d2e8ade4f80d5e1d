# The maker's server for the run command (sourced by tools/run-product.sh, POSIX sh):
#   server_start BUILD_DIR   starts nightcap-server on 127.0.0.1 at a free port with the demo sites, in a fresh
#                            data folder BUILD_DIR/server-run, publishes the built release (the payload tree)
#                            as the build's version, and exports every NIGHTCAP_*_HOST pointing at it
#   server_stop              ends it
# The server itself is built by the Windows build, in BUILD_DIR/native (see server/CMakeLists.txt).

server_start() {
  _server_build=$1
  _server_bin=$_server_build/native/bin
  _server_data=$_server_build/server-run
  rm -rf "$_server_data"
  mkdir -p "$_server_data"
  _server_version=1.002
  _server_header=$(find "$_server_build" -name ProductVersion.h -not -path "*/native/*" 2>/dev/null | head -n 1)
  if [ -n "$_server_header" ]; then
    _server_version=$(sed -n 's/^#define NIGHTCAP_VERSION_TEXT "\(.*\)".*/\1/p' "$_server_header")
  fi
  "$_server_bin/nightcap-publish" --data "$_server_data/data" --version "$_server_version" \
    --notes "Nightcap $_server_version, built on this machine." "$_server_build/payload/stage" || return 1
  "$_server_bin/nightcap-server" --data "$_server_data/data" --host 127.0.0.1 --port 0 \
    --port-file "$_server_data/port" --demo </dev/null >"$_server_data/log" 2>&1 &
  SERVER_PID=$!
  _server_wait=0
  while [ ! -s "$_server_data/port" ]; do
    if ! kill -0 "$SERVER_PID" 2>/dev/null || [ $_server_wait -ge 100 ]; then
      echo "the server did not start:" >&2; cat "$_server_data/log" >&2; return 1
    fi
    sleep 0.1; _server_wait=$((_server_wait + 1))
  done
  _server_host=127.0.0.1:$(cat "$_server_data/port")
  for _server_role in STATS UPDATE TIME IP AIR WEATHER; do
    export "NIGHTCAP_${_server_role}_HOST=$_server_host"
  done
  echo "Server on http://$_server_host (demo sites on), release $_server_version published;" \
       "stats page: http://$_server_host/stats" >&2
}

server_stop() {
  if [ -n "${SERVER_PID:-}" ]; then
    kill "$SERVER_PID" 2>/dev/null && wait "$SERVER_PID" 2>/dev/null
    SERVER_PID=""
  fi
  return 0
}

# The maker's server for the run command; sourced by tools/run-product.sh, whose `start` and `say` it uses.
#   server_start BUILD_DIR DATA_DIR   publishes the built release (the payload tree) as the build's version into
#                            the fresh data folder DATA_DIR, starts nightcap-server there on 127.0.0.1 at a
#                            free port with the demo sites, and exports every NIGHTCAP_*_HOST pointing at it.
# The server is built by the Windows build, in BUILD_DIR/native (see server/CMakeLists.txt); the run's
# stop_all ends it with everything else.

server_start() {
  server_bin=$1/native/bin
  server_dir=$2
  if [ ! -x "$server_bin/nightcap-server" ] || [ ! -d "$1/payload/stage" ]; then
    say "the server or the payload tree is not built: the product runs without its server"
    return 0
  fi
  rm -rf "$server_dir"
  mkdir -p "$server_dir"
  # The build's product version (the NIGHTCAP_VERSION setting, whose text ProductVersion.h carries).
  server_version=$(sed -n 's/^NIGHTCAP_VERSION:[A-Z]*=//p' "$1/CMakeCache.txt" 2>/dev/null)
  server_version=${server_version:-1.002}
  "$server_bin/nightcap-publish" --data "$server_dir/data" --version "$server_version" \
    --notes "Nightcap $server_version, built on this machine." "$1/payload/stage" >"$server_dir/publish.log" 2>&1 ||
    { cat "$server_dir/publish.log" >&2; say "publishing the release failed"; exit 1; }
  start "$server_bin/nightcap-server" --data "$server_dir/data" --host 127.0.0.1 --port 0 \
    --port-file "$server_dir/port" --demo </dev/null >"$server_dir/server.log" 2>&1
  wait_until 30 "${started%% *}" has_text "$server_dir/port" '[0-9]' ||
    { cat "$server_dir/server.log" >&2; say "the server did not start"; exit 1; }
  server_host=127.0.0.1:$(cat "$server_dir/port")
  for role in STATS UPDATE TIME IP AIR WEATHER; do
    export "NIGHTCAP_${role}_HOST=$server_host"
  done
  say "server on http://$server_host with demo time, IP, air-quality and weather pages; release $server_version published"
  say "stats page: http://$server_host/stats"
}

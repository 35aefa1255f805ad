#!/usr/bin/env bash
# A private PostgreSQL server for the tests and benchmarks: its own data folder,
# Unix socket only (no TCP), trust authentication. Sourced by test.sh and
# bench.sh; pg_test_server_start exports KORVELTA_TEST_PG (a libpq connection
# string) and KORVELTA_TEST_PG_CTL (the pg_ctl command that stops and starts it
# again, for the reconnect test); pg_test_server_stop removes it all.

pg_test_server_dir=""

pg_test_server_start() {
  local bindir port=54329
  bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
    echo "pg-test-server: PostgreSQL server programs are not installed" >&2
    return 1
  fi
  pg_test_server_dir=$(mktemp -d /tmp/korvelta-pg.XXXXXX)
  # initdb and the server refuse to run as root.
  local as=()
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres: "$pg_test_server_dir"
    as=(runuser -u postgres --)
  fi
  if ! "${as[@]}" "$bindir/initdb" -D "$pg_test_server_dir/data" -U korvelta --auth=trust \
      -E UTF8 --locale=C >"$pg_test_server_dir/initdb.log" 2>&1; then
    cat "$pg_test_server_dir/initdb.log" >&2
    return 1
  fi
  # In the configuration, not on the command line, so that a plain pg_ctl start keeps them.
  cat >>"$pg_test_server_dir/data/postgresql.conf" <<CONF
listen_addresses = ''
port = $port
unix_socket_directories = '$pg_test_server_dir'
max_connections = 120
CONF
  KORVELTA_TEST_PG_CTL="${as[*]} $bindir/pg_ctl -D $pg_test_server_dir/data -l $pg_test_server_dir/server.log -w"
  if ! $KORVELTA_TEST_PG_CTL start >/dev/null; then
    cat "$pg_test_server_dir/server.log" >&2
    return 1
  fi
  export KORVELTA_TEST_PG="host=$pg_test_server_dir port=$port user=korvelta dbname=postgres"
  export KORVELTA_TEST_PG_CTL
}

pg_test_server_stop() {
  [ -n "$pg_test_server_dir" ] || return 0
  if [ -n "${KORVELTA_TEST_PG_CTL:-}" ]; then
    $KORVELTA_TEST_PG_CTL stop -m immediate >/dev/null 2>&1 || true
  fi
  rm -rf "$pg_test_server_dir"
  pg_test_server_dir=""
}

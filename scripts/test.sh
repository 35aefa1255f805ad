#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. Tests that
# need a real window run on an Xvfb display, and the tests of a course on a
# server on a private PostgreSQL server; this script starts and stops both.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${KORVELTA_BUILD_DIR:-$root/build}"

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
. "$root/scripts/pg-test-server.sh"

xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  pg_test_server_stop
}
trap cleanup EXIT

display_number=90
while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
  display_number=$((display_number + 1))
done
Xvfb ":$display_number" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$display_number" ] && break
  sleep 0.1
done
export DISPLAY=":$display_number"
pg_test_server_start

cd "$build"
ctest --output-on-failure --timeout 600 "$@"

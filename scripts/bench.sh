#!/usr/bin/env bash
# Builds and prints every benchmark figure; each case runs in a process of its
# own, on an Xvfb display this script starts; the server cases use a private
# PostgreSQL server it starts as well. The start-up, page and memory cases
# start the program itself, in a process of its own each time.
# Usage: scripts/bench.sh [--tsv] [--runs N] [--program PATH] [CASE ...]
#   --tsv     one line per figure: case<TAB>figure<TAB>value<TAB>unit
#   --runs N  how often the cases that start the program repeat it (5)
#   --program PATH  another build of the program for those cases (to compare)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${KORVELTA_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
. "$root/scripts/pg-test-server.sh"

xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  pg_test_server_stop
}
trap cleanup EXIT

display_number=120
while [ -e "/tmp/.X11-unix/X$display_number" ]; do display_number=$((display_number + 1)); done
Xvfb ":$display_number" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
export DISPLAY=":$display_number"
# The server cases measure against a private server of their own.
pg_test_server_start
options=()
cases=()
while [ $# -gt 0 ]; do
  case "$1" in
    --tsv) options+=(--tsv) ;;
    --runs|--program) options+=("$1" "$2"); shift ;;
    *) cases+=("$1") ;;
  esac
  shift
done
for name in $("$build/bench/korvelta-bench" --list); do
  [ ${#cases[@]} -gt 0 ] && [[ ! " ${cases[*]} " =~ " $name " ]] && continue
  "$build/bench/korvelta-bench" "${options[@]}" "$name" 2>/dev/null
done

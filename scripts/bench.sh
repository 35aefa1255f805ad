#!/usr/bin/env bash
# Builds and prints every benchmark figure; each case runs in a process of its
# own (so start-up is measured cold), on an Xvfb display this script starts;
# the server cases use a private PostgreSQL server it starts as well.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${KORVELTA_BUILD_DIR:-$root/build}"
. "$root/scripts/test-services.sh"
test_services_start 120

for name in $("$build/bench/korvelta-bench" --list); do
  [ $# -gt 0 ] && [[ ! " $* " =~ " $name " ]] && continue
  "$build/bench/korvelta-bench" "$name" 2>/dev/null
done

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
. "$root/scripts/test-services.sh"
test_services_start 120

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

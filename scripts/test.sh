#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. Tests that
# need a real window run on an Xvfb display, and the tests of a course on a
# server on a private PostgreSQL server; this script starts and stops both.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${KORVELTA_BUILD_DIR:-$root/build}"
. "$root/scripts/test-services.sh"
test_services_start 90

cd "$build"
ctest --output-on-failure --timeout 600 "$@"

#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program in a copy of the demo
# course (build/course), so that running never changes the repository.
# KORVELTA_FRESH=1 starts again from a clean copy of the course.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${KORVELTA_BUILD_DIR:-$root/build}"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "korvelta: no display found (DISPLAY is not set); on a machine without a screen run: xvfb-run -a $0" >&2
  exit 2
fi

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

course="$build/course"
if [ "${KORVELTA_FRESH:-0}" = 1 ] || [ ! -f "$course/db1.sqlite" ]; then
  rm -rf "$course"
  cp -a "$build/demo-course" "$course"
fi
cd "$course"
exec "$build/korvelta"

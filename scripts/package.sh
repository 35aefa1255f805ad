#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package
# build/korvelta_<version>_amd64.deb from the install rules; then lintian
# reports on it. Install it with: sudo apt-get install ./build/korvelta_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${KORVELTA_BUILD_DIR:-$root/build}"

"$root/scripts/install-deps.sh" --packaging
"$root/scripts/build.sh"
cd "$build"
cpack -G DEB >/dev/null
deb=$(ls -t "$build"/korvelta_*_amd64.deb | head -n 1)
echo "$deb"
# lintian's findings are for the reader; an error there fails the script.
lintian --info "$deb" || { echo "package.sh: lintian found errors" >&2; exit 1; }

#!/usr/bin/env bash
# Installs every Debian 12 package the program, its tests and its benchmarks need
# (with --packaging, also what scripts/package.sh needs).
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev-tools
  qt6-webengine-dev qt6-webengine-dev-tools
  qt6-multimedia-dev qt6-svg-dev libqt6svg6 libqt6opengl6-dev libgl-dev
  libqt6sql6-sqlite libqt6sql6-psql libpq-dev
  libjpeg62-turbo-dev libsodium-dev
  mdbtools-dev libgmime-3.0-dev libwmf-dev libemf2svg-dev libxcb1-dev
  # libwmf's link flags name -lexpat, which libwmf-dev does not bring
  libexpat1-dev
  libxlsxwriter-dev zlib1g-dev
  # run (the package's Depends name the same, in packaging/CMakeLists.txt)
  qt6-qpa-plugins qt6-image-formats-plugins libqt6webenginecore6-bin
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-libav fluid-soundfont-gm
  fonts-dejavu-core fonts-liberation
  # libwmf draws no metafile without its fonts (only a Recommends of libwmf)
  fonts-urw-base35
  # tests; openbox stacks the windows that stay on top, xprop reads window properties
  xvfb xauth xdotool poppler-utils sqlite3 openbox x11-utils
  unzip
  # tests and benchmarks of a course on a server: a private server they start themselves
  postgresql
  # the check of the desktop entry and the AppStream metainfo
  desktop-file-utils appstream
  # QtTest prints the stacks of a test that crashes or hangs with it
  gdb
)
# scripts/package.sh: dpkg-shlibdeps (and file, which CPack asks) and the package's checker
if [ "${1:-}" = --packaging ]; then
  packages+=(dpkg-dev file lintian)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"

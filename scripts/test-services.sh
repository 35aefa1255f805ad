# Sourced by test.sh and bench.sh, with root and build set: the services the
# tests and benchmarks run against, an Xvfb display of this run's own and a
# private PostgreSQL server, both stopped again when the script exits.
. "$root/scripts/pg-test-server.sh"

xvfb_pid=""
test_services_stop() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  pg_test_server_stop
}
trap test_services_stop EXIT

# X clients reach a display through an abstract socket first, and those are
# shared by every root and container of the machine: a number free in this
# /tmp may be another server's, whose clients ours would then become. So a
# display counts as ours only once our Xvfb holds that socket.
display_taken() {
  [ -e "/tmp/.X11-unix/X$1" ] || [ -e "/tmp/.X$1-lock" ] || grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix
}
holds_display() { # pid number
  local inode fd
  inode=$(awk -v path="@/tmp/.X11-unix/X$2" '$NF == path { print $7; exit }' /proc/net/unix)
  [ -n "$inode" ] || return 1
  for fd in "/proc/$1/fd/"*; do
    [ "$(readlink "$fd" 2>/dev/null)" = "socket:[$inode]" ] && return 0
  done
  return 1
}
# test_services_start FIRST: installs and builds, then starts an Xvfb display,
# the first free one from FIRST on, and the private PostgreSQL server; exports
# DISPLAY and the server's connection string.
test_services_start() {
  "$root/scripts/install-deps.sh"
  "$root/scripts/build.sh"
  local display_number=$1
  while [ -z "$xvfb_pid" ] && [ "$display_number" -lt 190 ]; do
    if ! display_taken "$display_number"; then
      Xvfb ":$display_number" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
      xvfb_pid=$!
      for _ in $(seq 50); do
        holds_display "$xvfb_pid" "$display_number" && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
      done
      if ! holds_display "$xvfb_pid" "$display_number"; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
      fi
    fi
    [ -n "$xvfb_pid" ] || display_number=$((display_number + 1))
  done
  [ -n "$xvfb_pid" ] || { echo "$(basename "$0"): no X display could be started for the tests" >&2; exit 1; }
  export DISPLAY=":$display_number"
  pg_test_server_start
}

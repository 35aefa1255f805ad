#!/usr/bin/env bash
# Checks the Debian package the way a new user meets it, in a brand-new
# Debian 12 root, with the package made by scripts/package.sh in FRESH_OUT:
#
#   FRESH_OUT=$PWD/build ../shared/tools/fresh-debian-check packaging/check-installed.sh
#
# Installs the package with apt (its Depends only, no Recommends), starts the
# program from the home folder the way the desktop entry does, opens the demo
# course through the course chooser, enters the main window, and plays the
# MIDI melody of lesson 2 into a PulseAudio sink that records it. Leaves in
# the same folder (check-installed/): screenshots of each step (XWD, as the
# X server writes them), the recording, the logs, and summary.txt. Exits
# non-zero at the first step that fails.
set -euo pipefail
out=/src/out
deb=$(ls "$out"/korvelta_*_amd64.deb | head -n 1)
work="$out/check-installed"
rm -rf "$work"
mkdir -p "$work/fb"
summary="$work/summary.txt"
note() { echo "$*" | tee -a "$summary"; }
fail() { note "FAILED: $*"; exit 1; }

export DEBIAN_FRONTEND=noninteractive
apt-get update -q >"$work/apt.log"
note "installing $(basename "$deb") with its Depends only"
apt-get install -y --no-install-recommends "$deb" >>"$work/apt.log" 2>&1 || fail "apt-get install (see apt.log)"
# What a desktop provides and the package does not: a display, a sound server, a hand on the keyboard.
apt-get install -y --no-install-recommends xvfb xauth xdotool pulseaudio pulseaudio-utils >>"$work/apt.log" 2>&1 \
  || fail "installing the display and sound server for the check"

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

shots=0
shot() { # name: copies the screen as the X server has it
  sleep 1
  shots=$((shots + 1))
  cp "$work/fb/Xvfb_screen0" "$work/$(printf '%02d' $shots)-$1.xwd"
}
wait_window() { # title-regex seconds: the id of the visible window, or fails
  local id=""
  for _ in $(seq $(($2 * 2))); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.5
  done
  return 1
}

Xvfb :25 -screen 0 1280x1024x24 -fbdir "$work/fb" -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=:25
sleep 2

export XDG_RUNTIME_DIR=/run/user/0
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
pulseaudio --daemonize=no --exit-idle-time=-1 --log-target=file:"$work/pulse.log" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 20); do pactl info >/dev/null 2>&1 && break; sleep 0.5; done
pactl load-module module-null-sink sink_name=speakers >/dev/null || fail "no PulseAudio sink"
pactl set-default-sink speakers
parec -d speakers.monitor --raw --format=s16le --rate=22050 --channels=1 >"$work/melody.raw" &
pids+=($!)

# As the desktop menu starts it: the entry's command, in the home folder.
desktop=$(ls /usr/share/applications/*korvelta*.desktop)
command=$(sed -n 's/^Exec=//p' "$desktop")
note "desktop entry $(basename "$desktop"): Exec=$command"
cd "$HOME"
$command >"$work/korvelta.log" 2>&1 &
program=$!
pids+=($program)

chooser=$(wait_window "^Выбор курса" 60) || fail "the course chooser did not appear"
shot chooser
xdotool windowfocus --sync "$chooser" key Return   # the demo course is the default with nothing used yet
start=$(wait_window "^Корвелта$" 60) || fail "the start screen did not appear after choosing the demo course"
shot start-screen
[ -f "$HOME/Korvelta/demo/db1.sqlite" ] || fail "the demo course was not copied to ~/Korvelta/demo"
[ "$(readlink "/proc/$program/cwd")" = "$HOME/Korvelta/demo" ] || fail "the program does not run in ~/Korvelta/demo"
note "demo course copied to ~/Korvelta/demo; the program runs there"

# Name, group, "Ввод": places on the title plate, which has a fixed size.
eval "$(xdotool getwindowgeometry --shell "$start")"
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.3; }
click 600 451; xdotool type --delay 40 "Check Install"
click 520 489; xdotool type --delay 40 "GR-1"
click 527 538
main=$(wait_window "^Обучающая система$" 60) || fail "the main window did not appear"
sleep 8 # the page viewer starts its renderer and draws the cover page
shot cover-page
note "main window shown"

# Lesson 2 (the first section's second lesson) has the melody; then Мелодия > Вкл\Выкл. Мелодию.
eval "$(xdotool getwindowgeometry --shell "$main")"
click 150 400
xdotool key Home Right Down Down
sleep 3
xdotool key alt
sleep 0.3
xdotool key Right Right Right Right Down
sleep 1
shot melody-menu
pressed=$(($(stat -c %s "$work/melody.raw") / 2))   # samples recorded before the command
xdotool key Return
sleep 12
shot melody-playing
kill "${pids[2]}" 2>/dev/null || true   # the recording

# Silence until the command, then sound: whole seconds after it whose level
# (root mean square) stands clear of the silence of a null sink.
read -r before_peak after_peak sounding < <(od -An -v -t d2 -w2 "$work/melody.raw" | awk -v pressed="$pressed" '
  { v = $1 < 0 ? -$1 : $1
    if (NR <= pressed) { if (v > bp) bp = v; next }
    if (v > ap) ap = v
    s = int((NR - pressed) / 22050); sq[s] += $1 * $1; n[s]++ }
  END { for (i in n) if (n[i] == 22050 && sqrt(sq[i] / n[i]) >= 20) loud++
        print bp + 0, ap + 0, loud + 0 }')
note "recording: $((pressed / 22050)) s before the command, peak $before_peak; after it peak $after_peak of 32767, $sounding whole seconds of sound"
[ "$before_peak" -lt 100 ] && [ "$sounding" -ge 5 ] || fail "no melody in the recording"
note "the melody played: $sounding s of sound recorded from the sound server after the command"

# The same lesson's scheme (a bitmap) and video (MJPEG in AVI): the decoders a
# lesson needs besides the melody's. Схема and Video stand second and third in the menu bar.
xdotool windowfocus --sync "$main" key alt
sleep 0.3
xdotool key Right Return
wait_window "^Графическое изображение$" 30 >/dev/null || fail "the picture window did not appear"
shot picture
xdotool windowfocus --sync "$main" key alt
sleep 0.3
xdotool key Right Right Return
wait_window "^lampa.avi$" 30 >/dev/null || fail "the video window did not appear"
sleep 1
shot video
note "the lesson's picture and video windows opened"

# The Access reader is found where the package puts it: a Windows course folder is imported.
mkdir -p "$HOME/windows-course"
cp /src/project/tests/fixtures/mdb/db1.mdb "$HOME/windows-course/"
printf 'Topic\r\n' >"$HOME/windows-course/log.log"   # such a folder has its topic tree beside the database
(cd "$HOME/windows-course" && exec korvelta >"$work/import.log" 2>&1) &
pids+=($!)
for _ in $(seq 60); do [ -f "$HOME/windows-course/db1.sqlite" ] && break; sleep 0.5; done
shot import
[ -f "$HOME/windows-course/db1.sqlite" ] || fail "db1.mdb was not imported by the installed reader"
note "db1.mdb imported by /usr/libexec/korvelta/korvelta-mdb-import"
note "all checks passed"

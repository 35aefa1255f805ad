#!/usr/bin/env bash
# Makes the video and the spoken narrations of the demo course.
# Needs Debian's imagemagick, ffmpeg, espeak-ng and sox.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
course="$here/../course"
mkdir -p "$course/video" "$course/zvuk"
IM=/usr/bin/convert   # a stand-in called convert may come first on PATH
F=DejaVu-Sans
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# --- video/lampa.avi: 5 s at 10 frames/s.  The switch closes during frames
# 20..24, then the lamp lights up and its glow grows.
for i in $(seq 0 49); do
  if   (( i < 20 )); then ang=30
  elif (( i < 25 )); then ang=$(( 30 - (i - 19) * 6 ))
  else ang=0
  fi
  # Blade end for the current angle, hinged at (110,60), 50 px long.
  read -r bx by < <(python3 -c "import math; a=math.radians($ang); print(round(110+50*math.cos(a)), round(60-50*math.sin(a)))")
  if (( i < 25 )); then
    lamp=(-fill "#5a5a5a" -stroke black -strokewidth 3 -draw "circle 280,130 298,130")
    caption="Ключ разомкнут: тока нет"
  else
    g=$(( i - 25 )); (( g > 14 )) && g=14
    lamp=(-fill "#fff3b0" -stroke none -draw "circle 280,130 $((300 + g)),130"
          -fill "#ffe14d" -stroke black -strokewidth 3 -draw "circle 280,130 298,130")
    caption="Ключ замкнут: лампа горит"
  fi
  $IM -size 320x240 xc:"#f4f7fb" -stroke black -strokewidth 3 -fill none \
    -draw "rectangle 40,60 280,200" \
    -fill "#f4f7fb" -stroke "#f4f7fb" -draw "rectangle 20,121 60,139" -draw "rectangle 112,54 158,66" \
    -stroke black -draw "line 22,120 58,120" -strokewidth 7 -draw "line 32,140 48,140" -strokewidth 3 \
    -fill black -draw "circle 110,60 113,60" -draw "circle 160,60 163,60" \
    -draw "line 110,60 $bx,$by" \
    "${lamp[@]}" \
    -draw "line 267,117 293,143" -draw "line 293,117 267,143" \
    -stroke none -fill black -font $F -pointsize 14 \
    -annotate +66+126 "+" -annotate +66+150 "–" -annotate +118+40 "SA" -annotate +236+100 "HL" \
    -pointsize 16 -annotate +40+228 "$caption" \
    "$(printf '%s/f%03d.png' "$work" "$i")"
done
ffmpeg -loglevel error -y -framerate 10 -i "$work/f%03d.png" \
  -c:v mjpeg -q:v 5 -pix_fmt yuvj420p -an "$course/video/lampa.avi"

# --- Narrations: espeak-ng's Russian voice, resampled to 22050 Hz 16-bit mono.
say() {  # say OUT.wav "text"
  espeak-ng -v ru -s 140 -w "$work/say.wav" "$2"
  sox "$work/say.wav" -r 22050 -b 16 -c 1 -e signed-integer "$1"
}
say "$course/zvuk/urok2.wav" \
  "Закон Ома. Сила тока на участке цепи прямо пропорциональна напряжению и обратно пропорциональна сопротивлению. Чтобы найти ток, разделите напряжение на сопротивление."
say "$course/zvuk/bezopasnost.wav" \
  "Помните! Перед любой работой с проводкой отключите напряжение. Не касайтесь оголённых проводов и не пользуйтесь неисправными приборами."

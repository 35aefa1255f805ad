#!/usr/bin/env bash
# Draws every picture of the demo course with ImageMagick 6 (Debian's
# "imagemagick" package).  Run from anywhere; writes into ../course and, for
# pictures that only live inside .mht pages, into ./pages/img.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
course="$here/../course"
img="$here/pages/img"
mkdir -p "$course/kartinki" "$course/uroki" "$img"
# A stand-in called convert may come first on PATH; use the real one.
IM=/usr/bin/convert
F=DejaVu-Sans
FB=DejaVu-Sans-Bold

# ImageMagick 6 closes stroked paths and polylines with a chord, so a cable
# is drawn as a run of short round-capped line segments along a cubic Bezier.
# Usage: bez x0 y0 x1 y1 x2 y2 x3 y3  -> a string for -draw.
bez() {
  python3 - "$@" <<'PY'
import sys
x0, y0, x1, y1, x2, y2, x3, y3 = map(float, sys.argv[1:])
def at(t):
    a, b, c, d = (1 - t) ** 3, 3 * (1 - t) ** 2 * t, 3 * (1 - t) * t * t, t ** 3
    return a * x0 + b * x1 + c * x2 + d * x3, a * y0 + b * y1 + c * y2 + d * y3
pts = [at(i / 40) for i in range(41)]
segs = " ".join("line %.1f,%.1f %.1f,%.1f" % (*p, *q) for p, q in zip(pts, pts[1:]))
print("stroke-linecap round " + segs)
PY
}

# --- Scheme 1: battery, switch, two resistors, ammeter and lamp in one loop.
# Wires go first as a closed rectangle; each symbol is then painted over the
# wire with a white fill, which leaves the gaps a drawn symbol needs.
$IM -size 640x400 xc:white -stroke black -strokewidth 3 -fill none \
  -draw "rectangle 100,110 540,320" \
  -fill white -stroke white -draw "rectangle 70,201 130,219" \
  -stroke black -strokewidth 3 -draw "line 72,200 128,200" \
  -strokewidth 8 -draw "line 88,220 112,220" -strokewidth 3 \
  -stroke white -draw "rectangle 166,104 214,116" -stroke black \
  -fill black -draw "circle 166,110 170,110" -draw "circle 214,110 218,110" \
  -draw "line 166,110 210,84" -fill white \
  -draw "rectangle 280,100 350,120" \
  -draw "circle 540,215 562,215" \
  -draw "line 524,199 556,231" -draw "line 556,199 524,231" \
  -draw "rectangle 320,310 390,330" \
  -draw "circle 200,320 220,320" \
  -stroke none -fill black -font $FB -pointsize 20 \
  -annotate +190+327 "A" \
  -font $F -pointsize 18 \
  -annotate +30+216 "GB" -annotate +132+196 "+" -annotate +134+240 "–" \
  -annotate +22+240 "4,5 В" \
  -annotate +172+74 "SA" \
  -annotate +262+88 "R1  10 Ом" \
  -annotate +572+210 "HL" -annotate +572+234 "лампа" \
  -annotate +322+356 "R2  5 Ом" \
  -annotate +128+358 "PA  амперметр" \
  -font $FB -pointsize 22 -annotate +20+42 "Схема 1. Простая электрическая цепь" \
  -font $F -pointsize 16 -fill "#1a4f8a" \
  -annotate +20+390 "Когда ключ SA замкнут, ток во всех элементах цепи одинаков." \
  -type TrueColor BMP3:"$course/kartinki/shema1.bmp"

# --- Series connection: 12 V source, R1, R2, R3 = 2, 4, 6 Ом -> I = 1 А.
$IM -size 640x400 xc:white -stroke black -strokewidth 3 -fill none \
  -draw "rectangle 80,120 560,300" \
  -fill white -stroke white -draw "rectangle 50,201 110,219" \
  -stroke black -draw "line 52,200 108,200" \
  -strokewidth 8 -draw "line 68,220 92,220" -strokewidth 3 \
  -draw "rectangle 150,110 220,130" \
  -draw "rectangle 285,110 355,130" \
  -draw "rectangle 420,110 490,130" \
  -stroke "#c0392b" -strokewidth 3 -draw "line 300,300 250,300" \
  -fill "#c0392b" -draw "polygon 250,292 250,308 234,300" \
  -stroke none -fill black -font $F -pointsize 18 \
  -annotate +112+196 "+" -annotate +114+240 "–" \
  -annotate +98+272 "U = 12 В" \
  -annotate +150+100 "R1 = 2 Ом" -annotate +285+100 "R2 = 4 Ом" -annotate +420+100 "R3 = 6 Ом" \
  -fill "#1a4f8a" -annotate +160+160 "U1 = 2 В" -annotate +295+160 "U2 = 4 В" -annotate +430+160 "U3 = 6 В" \
  -fill "#c0392b" -annotate +200+330 "I = 1 А" \
  -font $FB -fill black -pointsize 22 -annotate +20+42 "Последовательное соединение резисторов" \
  -font $F -pointsize 18 -fill black \
  -annotate +330+232 "R = R1 + R2 + R3 = 12 Ом" \
  -annotate +330+262 "I = U / R = 12 / 12 = 1 А" \
  -annotate +20+380 "Ток во всех резисторах одинаков, напряжения складываются." \
  -type TrueColor BMP3:"$course/kartinki/posled.bmp"

# --- Multimeter drawing, saved as a baseline (not progressive) JPEG.
$IM -size 800x600 gradient:"#e8eef5-#b9c6d6" \
  -fill "#f2c200" -stroke "#6b5600" -strokewidth 4 -draw "roundrectangle 250,40 550,560 36,36" \
  -fill "#2d2d2d" -stroke none -draw "roundrectangle 272,62 528,538 24,24" \
  -fill "#a9c4a0" -stroke "#111111" -strokewidth 3 -draw "roundrectangle 300,90 500,190 10,10" \
  -fill "#1b1b1b" -stroke none -font DejaVu-Sans-Mono-Bold -pointsize 56 -annotate +310+160 "12.04" \
  -font $FB -pointsize 22 -annotate +474+182 "V" \
  -fill "#555555" -stroke "#dddddd" -strokewidth 2 -draw "circle 400,330 400,250" \
  -fill "#888888" -stroke none -draw "circle 400,330 400,290" \
  -stroke "#ffffff" -strokewidth 10 -draw "line 400,330 400,262" \
  -stroke none -fill white -font $FB -pointsize 24 \
  -annotate +385+235 "V" -annotate +470+300 "A" -annotate +302+300 "Ω" -annotate +360+440 "OFF" \
  -font $F -pointsize 18 -annotate +318+215 "V~" -annotate +458+232 "mA" \
  -fill "#c0392b" -draw "circle 320,500 320,482" \
  -fill "#111111" -stroke "#777777" -strokewidth 3 -draw "circle 400,500 400,482" \
  -stroke none -fill "#c0392b" -draw "circle 480,500 480,482" \
  -fill white -font $F -pointsize 14 -annotate +306+534 "10A" -annotate +384+534 "COM" -annotate +462+534 "VΩmA" \
  -stroke "#c0392b" -strokewidth 8 -fill none -draw "$(bez 480 500 560 520 640 400 700 300)" \
  -stroke "#111111" -draw "$(bez 400 500 400 640 120 600 110 300)" \
  -stroke "#c0392b" -strokewidth 14 -draw "line 700,300 730,220" \
  -stroke "#111111" -draw "line 110,300 90,220" \
  -stroke "#cccccc" -strokewidth 4 -draw "line 730,220 745,180" -draw "line 90,220 82,180" \
  -stroke none -fill "#1b2a3a" -font $FB -pointsize 30 -annotate +20+50 "Мультиметр" \
  -font $F -pointsize 20 -annotate +20+82 "измеряет U, I и R" \
  -annotate +560+560 "COM — общий провод" \
  -interlace none -quality 88 "$course/kartinki/multimetr.jpg"

# --- Pictures shown inside lesson pages.
# Lesson 1: electrons drift towards "+", the conventional current goes the other way.
args=()
for x in 120 200 280 360 440; do
  args+=(-fill "#2e86de" -stroke none -draw "circle $x,110 $((x+12)),110"
         -stroke "#2e86de" -strokewidth 3 -draw "line $((x-18)),110 $((x-40)),110"
         -fill "#2e86de" -stroke none -draw "polygon $((x-40)),104 $((x-40)),116 $((x-50)),110")
done
$IM -size 600x230 xc:white \
  -fill "#f0d9b5" -stroke "#8a6d3b" -strokewidth 3 -draw "roundrectangle 60,80 540,140 28,28" \
  "${args[@]}" \
  -fill white -stroke none -font $FB -pointsize 16 \
  -annotate +115+116 "–" -annotate +195+116 "–" -annotate +275+116 "–" -annotate +355+116 "–" -annotate +435+116 "–" \
  -fill "#c0392b" -font $FB -pointsize 34 -annotate +18+122 "+" -annotate +552+122 "–" \
  -stroke "#c0392b" -strokewidth 5 -draw "line 160,185 420,185" \
  -fill "#c0392b" -stroke none -draw "polygon 420,174 420,196 446,185" \
  -fill "#2e86de" -font $F -pointsize 18 -annotate +150+60 "движение электронов (к «плюсу»)" \
  -fill "#c0392b" -annotate +170+220 "направление тока I (от «+» к «–»)" \
  "$course/uroki/urok1_ris1.png"

# Lesson 5: a node with two currents in and one out.
$IM -size 520x320 xc:white -stroke black -strokewidth 3 \
  -draw "line 60,60 260,170" -draw "line 60,280 260,170" -draw "line 260,170 480,170" \
  -fill black -draw "circle 260,170 268,170" \
  -fill "#c0392b" -stroke none \
  -draw "polygon 170,120 146,118 155,102" \
  -draw "polygon 170,219 155,237 146,221" \
  -draw "polygon 400,160 400,180 424,170" \
  -fill black -font $F -pointsize 20 \
  -annotate +150+88 "I1 = 3 А" -annotate +150+264 "I2 = 2 А" -annotate +360+150 "I3 = 5 А" \
  -annotate +236+206 "узел" \
  -font $FB -pointsize 20 -annotate +40+30 "I1 + I2 = I3,  3 А + 2 А = 5 А" \
  "$course/uroki/urok5_uzel.png"

# Lesson 8: a high-voltage warning sign.
$IM -size 300x270 xc:white \
  -fill "#ffd200" -stroke black -strokewidth 10 -draw "polygon 150,20 285,250 15,250" \
  -fill black -stroke none -draw "polygon 165,70 110,165 148,165 128,225 195,130 156,130 182,70" \
  "$course/uroki/urok8_znak.png"

# --- Pictures embedded in .mht pages (kept only inside the archives).
# Cover.
$IM -size 900x300 gradient:"#0f3057-#00587a" \
  -fill "#ffe082" -stroke "#fff3c4" -strokewidth 4 -draw "circle 130,130 130,60" \
  -fill "#9e9e9e" -stroke "#616161" -strokewidth 3 -draw "rectangle 100,195 160,245" \
  -stroke "#616161" -draw "line 100,210 160,210" -draw "line 100,228 160,228" \
  -stroke "#b26a00" -strokewidth 4 -fill none -draw "line 112,195 122,140" -draw "line 148,195 138,140" \
  -draw "$(bez 122 140 126 120 134 120 138 140)" \
  -stroke "#fff3c4" -strokewidth 3 \
  -draw "line 130,40 130,16" -draw "line 60,130 36,130" -draw "line 200,130 224,130" \
  -draw "line 80,80 63,63" -draw "line 180,80 197,63" \
  -stroke none -fill white -font $FB -pointsize 46 -annotate +260+120 "Основы" \
  -annotate +260+180 "электрических цепей" \
  -fill "#b3e5fc" -font $F -pointsize 24 -annotate +262+230 "Электронный учебник: уроки, схемы, тесты" \
  "$img/zas.png"

# Help: a sketch of the test window.
targs=()
for i in $(seq 1 40); do
  r=$(( (i - 1) / 10 )); c=$(( (i - 1) % 10 ))
  x=$(( 20 + c * 46 )); y=$(( 60 + r * 40 ))
  targs+=(-fill "#e3e9f0" -stroke "#7a8ca3" -strokewidth 1 -draw "roundrectangle $x,$y $((x+40)),$((y+32)) 5,5"
          -fill black -stroke none -annotate +$((x + (i < 10 ? 15 : 9)))+$((y+22)) "$i")
done
aargs=()
n=0
for L in A B C D E; do
  x=$(( 520 + n * 52 )); n=$((n+1))
  aargs+=(-fill "#fff3c4" -stroke "#b28704" -strokewidth 2 -draw "roundrectangle $x,60 $((x+44)),100 6,6"
          -fill black -stroke none -annotate +$((x+14))+88 "$L")
done
$IM -size 800x300 xc:"#f7f9fb" -font $F -pointsize 16 \
  -fill black -font $FB -pointsize 18 -annotate +20+36 "Номер вопроса" -annotate +520+36 "Ответ" \
  -font $F -pointsize 16 "${targs[@]}" -pointsize 20 "${aargs[@]}" \
  -fill "#d4edda" -stroke "#2e7d32" -strokewidth 2 -draw "roundrectangle 520,130 780,170 6,6" \
  -fill "#f8d7da" -stroke "#b71c1c" -draw "roundrectangle 520,190 780,230 6,6" \
  -fill black -stroke none -pointsize 18 -annotate +590+157 "Начать  тест" -annotate +578+217 "Закончить  тест" \
  -fill "#555555" -pointsize 15 -annotate +20+250 "Кнопки 1–40 открывают вопросы, кнопки A–E выбирают ответ." \
  -annotate +20+276 "Результат: доля правильных ответов в процентах и оценка по пятибалльной шкале." \
  "$img/help_test.png"

# Lesson 2: the Ohm's law triangle.
$IM -size 420x300 xc:white \
  -fill "#e8f1fb" -stroke "#1a4f8a" -strokewidth 4 -draw "polygon 210,20 400,280 20,280" \
  -draw "line 87,190 333,190" -draw "line 210,190 210,280" \
  -fill "#1a4f8a" -stroke none -font $FB -pointsize 56 \
  -annotate +190+160 "U" -annotate +118+262 "I" -annotate +252+262 "R" \
  "$img/urok2_treug.png"

# Lesson 4: two resistors in parallel.
$IM -size 640x340 xc:white -stroke black -strokewidth 3 -fill none \
  -draw "line 80,80 80,300" -draw "line 80,80 300,80" -draw "line 80,300 300,300" \
  -draw "line 300,80 480,80" -draw "line 300,300 480,300" \
  -draw "line 300,80 300,300" -draw "line 480,80 480,300" \
  -fill white -stroke white -draw "rectangle 50,181 110,199" \
  -stroke black -draw "line 52,180 108,180" -strokewidth 8 -draw "line 68,200 92,200" -strokewidth 3 \
  -draw "rectangle 290,155 310,225" -draw "rectangle 470,155 490,225" \
  -fill black -draw "circle 300,80 305,80" -draw "circle 300,300 305,300" \
  -stroke none -font $F -pointsize 18 \
  -annotate +112+176 "+" -annotate +114+222 "–" -annotate +100+264 "U = 6 В" \
  -annotate +318+196 "R1 = 3 Ом" -annotate +498+196 "R2 = 6 Ом" \
  -fill "#c0392b" -annotate +318+150 "I1 = 2 А" -annotate +498+150 "I2 = 1 А" \
  -font $FB -fill black -pointsize 20 -annotate +20+30 "Параллельное соединение" \
  -font $F -pointsize 18 -annotate +20+60 "R = R1·R2 / (R1 + R2) = 3·6 / (3 + 6) = 2 Ом" \
  -annotate +20+332 "Напряжение на ветвях одинаково, токи складываются: I = 3 А." \
  "$img/urok4_parallel.png"

# Lesson 6: a lamp and its power (embedded as JPEG).
$IM -size 520x300 gradient:"#fffbe6-#ffe9a8" \
  -fill "#fff59d" -stroke "#f9a825" -strokewidth 4 -draw "circle 130,120 130,50" \
  -fill "#9e9e9e" -stroke "#616161" -strokewidth 3 -draw "rectangle 100,185 160,235" \
  -stroke "#b26a00" -strokewidth 4 -fill none -draw "line 112,185 122,130" -draw "line 148,185 138,130" \
  -draw "$(bez 122 130 126 110 134 110 138 130)" \
  -stroke none -fill "#4e342e" -font $FB -pointsize 26 -annotate +230+100 "P = U · I" \
  -font $F -pointsize 20 -annotate +230+140 "220 В · 0,27 А ≈ 60 Вт" \
  -annotate +230+180 "За 5 ч: W = P · t" -annotate +230+210 "= 60 Вт · 5 ч = 0,3 кВт·ч" \
  -interlace none -quality 88 "$img/urok6_lampa.jpg"

# Lesson 7: ammeter in series, voltmeter in parallel with the resistor.
$IM -size 600x330 xc:white -stroke black -strokewidth 3 -fill none \
  -draw "rectangle 80,90 520,280" \
  -draw "line 260,90 260,30" -draw "line 260,30 420,30" -draw "line 420,30 420,90" \
  -fill white -stroke white -draw "rectangle 50,176 110,194" \
  -stroke black -draw "line 52,175 108,175" -strokewidth 8 -draw "line 68,195 92,195" -strokewidth 3 \
  -draw "rectangle 300,80 380,100" \
  -draw "circle 340,30 362,30" -draw "circle 200,280 222,280" \
  -fill black -draw "circle 260,90 265,90" -draw "circle 420,90 425,90" \
  -stroke none -font $FB -pointsize 22 -annotate +331+38 "V" -annotate +192+288 "A" \
  -font $F -pointsize 18 -annotate +112+171 "+" -annotate +114+217 "–" \
  -annotate +318+126 "R" \
  -fill "#1a4f8a" -annotate +440+26 "вольтметр —" -annotate +440+48 "параллельно" \
  -annotate +236+320 "амперметр — последовательно" \
  "$img/urok7_vkl.png"

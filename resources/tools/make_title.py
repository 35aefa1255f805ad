#!/usr/bin/python3
# -*- coding: utf-8 -*-
"""Generate resources/title.png - the start screen title plate.

The picture is 941 x 617, 24-bit RGB.  Its background is pure red
(255,0,0): the program cuts every pure-red pixel away and gives the
start window the shape of the remaining plate.  Therefore:
  * the plate itself never uses the colour (255,0,0);
  * the outline of the plate against the background is drawn without
    anti-aliasing and is a dark border colour, so no reddish halo
    appears on the desktop.
The area x 310..850, y 430..570 is left as a plain light field: the
program puts two labels, two input boxes and a button there.

Usage:  python3 make_title.py [output.png]
Requires Pillow (Debian: apt-get install python3-pil) and DejaVu fonts.
"""
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

W, H = 941, 617
S = 3  # supersampling factor for the inner (anti-aliased) drawing

KEY = (255, 0, 0)            # transparent key colour, background only
BORDER = (28, 40, 70)        # dark outline of the plate
HEADER = (32, 64, 128)       # title band
HEADER_DARK = (22, 44, 92)
PLATE = (246, 248, 252)      # plate / input field colour
PANEL = (230, 239, 250)      # drawing panel
GRID = (212, 226, 244)
PANEL_EDGE = (150, 172, 205)
WIRE = (40, 52, 80)
YELLOW = (245, 184, 46)
YELLOW_LIGHT = (252, 226, 130)
GLOW = (255, 244, 190)
ACCENT_RED = (200, 30, 30)
GREEN = (46, 158, 79)
BLUE = (59, 125, 216)
WHITE = (255, 255, 255)
GREY = (138, 150, 168)

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
FONT_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
FONT_SERIF_BOLD = os.path.join(FONT_DIR, "DejaVuSerif-Bold.ttf")
FONT_ITALIC = os.path.join(FONT_DIR, "DejaVuSerif-Italic.ttf")

# Plate geometry (1x pixel coordinates)
PLATE_BOX = (14, 44, 926, 604)
PLATE_RADIUS = 38
# Lightning bolt sticking out of the top edge (left)
BOLT = [(118, 2), (62, 104), (96, 104), (74, 168), (150, 72), (114, 72), (142, 2)]
# Lamp sticking out of the top edge (right): bulb centre, radius, cap box
LAMP_C = (846, 38)
LAMP_R = 31
LAMP_CAP = (828, 64, 864, 88)

# Calm field for the login widgets (must stay plain)
FIELD = (310, 430, 850, 570)
FIELD_FRAME = (300, 421, 862, 580)


def sc(v):
    """Scale a coordinate / tuple to the supersampled canvas."""
    if isinstance(v, (tuple, list)):
        return type(v)(sc(x) for x in v)
    return int(round(v * S))


def shape_mask():
    """Binary (non anti-aliased) mask of the whole plate at 1x."""
    m = Image.new("1", (W, H), 0)
    d = ImageDraw.Draw(m)
    d.rounded_rectangle(PLATE_BOX, radius=PLATE_RADIUS, fill=1)
    d.polygon(BOLT, fill=1)
    cx, cy = LAMP_C
    d.ellipse((cx - LAMP_R, cy - LAMP_R, cx + LAMP_R, cy + LAMP_R), fill=1)
    d.rectangle(LAMP_CAP, fill=1)
    return m


def erode(mask, px):
    m = mask.convert("L")
    for _ in range(px):
        m = m.filter(ImageFilter.MinFilter(3))
    return m.point(lambda v: 255 if v > 127 else 0).convert("1")


def thick_line(d, pts, width, fill):
    d.line([sc(p) for p in pts], fill=fill, width=sc(width), joint="curve")
    r = sc(width) / 2.0
    for p in (pts[0], pts[-1]):
        x, y = sc(p)
        d.ellipse((x - r, y - r, x + r, y + r), fill=fill)


def dot(d, c, r, fill, outline=None, width=0):
    x, y = sc(c)
    rr = sc(r)
    d.ellipse((x - rr, y - rr, x + rr, y + rr), fill=fill,
              outline=outline, width=sc(width) if outline else 0)


def centered_text(d, cx, y, text, font, fill, shadow=None):
    w = d.textlength(text, font=font)
    x = sc(cx) - w / 2.0
    if shadow:
        d.text((x + sc(2), sc(y) + sc(2)), text, font=font, fill=shadow)
    d.text((x, sc(y)), text, font=font, fill=fill)


def fit_font(d, path, text, max_w, start):
    size = start
    while size > 10:
        f = ImageFont.truetype(path, sc(size))
        if d.textlength(text, font=f) <= sc(max_w):
            return f
        size -= 1
    return ImageFont.truetype(path, sc(size))


def draw_inner(mask_inner):
    img = Image.new("RGB", (W * S, H * S), PLATE)
    d = ImageDraw.Draw(img)

    x0, y0, x1, y1 = PLATE_BOX

    # --- title band -------------------------------------------------
    band_bottom = 182
    d.rounded_rectangle(sc((x0, y0, x1, band_bottom + PLATE_RADIUS)),
                        radius=sc(PLATE_RADIUS), fill=HEADER)
    d.rectangle(sc((x0, band_bottom, x1, band_bottom + PLATE_RADIUS + 2)),
                fill=PLATE)
    # thin stripes under the band
    d.rectangle(sc((x0, band_bottom - 8, x1, band_bottom)), fill=HEADER_DARK)
    d.rectangle(sc((x0, band_bottom, x1, band_bottom + 4)), fill=YELLOW)

    # lamp sticking out of the top (right)
    cx, cy = LAMP_C
    dot(d, (cx, cy), LAMP_R + 0.5, YELLOW_LIGHT)
    dot(d, (cx - 9, cy - 10), 9, GLOW)
    # filament
    fil = [(cx - 12, cy + 12), (cx - 8, cy - 2), (cx - 4, cy + 6), (cx, cy - 4),
           (cx + 4, cy + 6), (cx + 8, cy - 2), (cx + 12, cy + 12)]
    thick_line(d, fil, 3, (190, 120, 20))
    cap = LAMP_CAP
    d.rectangle(sc(cap), fill=GREY)
    for yy in range(cap[1] + 5, cap[3], 6):
        d.line(sc([(cap[0], yy), (cap[2], yy)]), fill=(90, 100, 120),
               width=sc(2))
    # short glow rays around the lower half of the bulb, inside the band
    for ang in (120, 150, 30, 60):
        a = math.radians(ang)
        r0, r1 = LAMP_R + 10, LAMP_R + 26
        p0 = (cx + r0 * math.cos(a), cy + r0 * math.sin(a))
        p1 = (cx + r1 * math.cos(a), cy + r1 * math.sin(a))
        if p0[1] > y0 + 8 and p1[1] > y0 + 8:
            thick_line(d, [p0, p1], 4, YELLOW)

    # lightning bolt sticking out of the top (left)
    d.polygon([sc(p) for p in BOLT], fill=YELLOW)
    inner_bolt = [(120, 14), (80, 96), (108, 96), (92, 146), (134, 80),
                  (104, 80), (128, 14)]
    d.polygon([sc(p) for p in inner_bolt], fill=YELLOW_LIGHT)
    d.line([sc(p) for p in BOLT + [BOLT[0]]], fill=BORDER, width=sc(3),
           joint="curve")

    # title
    title = "Основы электрических цепей"
    sub = "Электронный учебник"
    tf = fit_font(d, FONT_SERIF_BOLD, title, 600, 48)
    centered_text(d, 476, 68, title, tf, WHITE, shadow=HEADER_DARK)
    sf = fit_font(d, FONT_ITALIC, sub, 500, 28)
    centered_text(d, 476, 128, sub, sf, YELLOW_LIGHT, shadow=HEADER_DARK)

    # --- drawing panel with a circuit --------------------------------
    px0, py0, px1, py1 = 44, 200, 896, 408
    d.rounded_rectangle(sc((px0, py0, px1, py1)), radius=sc(16), fill=PANEL,
                        outline=PANEL_EDGE, width=sc(2))
    for gx in range(px0 + 20, px1 - 4, 20):
        d.line(sc([(gx, py0 + 3), (gx, py1 - 3)]), fill=GRID, width=sc(1))
    for gy in range(py0 + 20, py1 - 4, 20):
        d.line(sc([(px0 + 3, gy), (px1 - 3, gy)]), fill=GRID, width=sc(1))

    L, R, T, B = 120, 800, 240, 370   # circuit loop
    WW = 6
    # wires (with gaps for components)
    thick_line(d, [(L, 300), (L, T), (250, T)], WW, WIRE)          # to battery
    thick_line(d, [(390, T), (530, T)], WW, WIRE)                  # battery-switch
    thick_line(d, [(636, T), (R, T), (R, 272)], WW, WIRE)          # switch-lamp
    thick_line(d, [(R, 340), (R, B), (520, B)], WW, WIRE)          # lamp-resistor
    thick_line(d, [(410, B), (L, B), (L, 332)], WW, WIRE)          # resistor-ammeter

    # battery (a cylinder cell lying on the top wire)
    bx0, bx1, by0, by1 = 256, 378, T - 22, T + 22
    d.rectangle(sc((250, T - 7, 258, T + 7)), fill=GREY)           # minus end
    d.rounded_rectangle(sc((bx0, by0, bx1, by1)), radius=sc(8),
                        fill=(40, 120, 70), outline=BORDER, width=sc(3))
    d.rectangle(sc((bx1 - 30, by0 + 2, bx1 - 2, by1 - 2)), fill=GREY)
    d.rounded_rectangle(sc((bx1, T - 9, bx1 + 12, T + 9)), radius=sc(3),
                        fill=GREY, outline=BORDER, width=sc(2))  # plus nub
    d.line(sc([(bx0 + 10, by0 + 9), (bx1 - 40, by0 + 9)]),
           fill=(110, 190, 130), width=sc(3))
    lf = ImageFont.truetype(FONT_BOLD, sc(22))
    d.text(sc((bx0 + 40, T - 14)), "−", font=lf, fill=WHITE)
    d.text(sc((bx1 - 24, T - 14)), "+", font=lf, fill=ACCENT_RED)
    sfnt = ImageFont.truetype(FONT_BOLD, sc(18))
    d.text(sc((bx0 + 34, by1 + 8)), "E", font=sfnt, fill=WIRE)

    # knife switch (closed: the lamp is lit)
    thick_line(d, [(540, T - 4), (630, T - 4)], 7, ACCENT_RED)     # blade
    thick_line(d, [(622, T - 4), (622, T - 30)], 5, ACCENT_RED)    # handle
    dot(d, (622, T - 32), 7, ACCENT_RED, BORDER, 2)
    d.rectangle(sc((622, T - 12, 640, T + 8)), outline=BORDER, width=sc(3),
                fill=GREY)                                          # jaw
    dot(d, (536, T), 8, WHITE, BORDER, 3)                           # pivot
    dot(d, (536, T), 3, BORDER)
    d.text(sc((572, T + 12)), "S", font=sfnt, fill=WIRE)

    # lamp on the right wire
    lx, ly, lr = R, 306, 30
    for ang in range(0, 360, 30):
        a = math.radians(ang)
        p0 = (lx + (lr + 8) * math.cos(a), ly + (lr + 8) * math.sin(a))
        p1 = (lx + (lr + 20) * math.cos(a), ly + (lr + 20) * math.sin(a))
        if ang not in (90, 270):
            thick_line(d, [p0, p1], 4, YELLOW)
    dot(d, (lx, ly), lr, YELLOW_LIGHT, BORDER, 3)
    k = lr * 0.7071
    thick_line(d, [(lx - k, ly - k), (lx + k, ly + k)], 4, BORDER)
    thick_line(d, [(lx - k, ly + k), (lx + k, ly - k)], 4, BORDER)
    d.text(sc((lx - 82, ly - 12)), "HL", font=sfnt, fill=WIRE)

    # resistor on the bottom wire
    d.rectangle(sc((414, B - 16, 516, B + 16)), fill=WHITE, outline=BORDER,
                width=sc(4))
    d.rectangle(sc((440, B - 12, 448, B + 12)), fill=(150, 90, 40))
    d.rectangle(sc((460, B - 12, 468, B + 12)), fill=ACCENT_RED)
    d.rectangle(sc((480, B - 12, 488, B + 12)), fill=YELLOW)
    d.text(sc((456, B - 46)), "R", font=sfnt, fill=WIRE)

    # ammeter on the left wire
    ax, ay, ar = L, 316, 20
    dot(d, (ax, ay), ar, WHITE, BORDER, 3)
    af = ImageFont.truetype(FONT_BOLD, sc(22))
    w = d.textlength("A", font=af)
    d.text((sc(ax) - w / 2, sc(ay - 14)), "A", font=af, fill=WIRE)

    # current direction arrows
    for (x, y) in ((700, T), (300, B)):
        dirx = 1 if y == T else -1
        pts = [(x - 10 * dirx, y - 9), (x + 8 * dirx, y), (x - 10 * dirx, y + 9)]
        d.polygon([sc(p) for p in pts], fill=BLUE)

    # corner nodes
    for p in ((L, T), (R, T), (R, B), (L, B)):
        dot(d, p, 6, WIRE)

    # --- lower part: emblem on the left, calm field on the right -----
    fx0, fy0, fx1, fy1 = FIELD_FRAME
    d.rounded_rectangle(sc((fx0, fy0, fx1, fy1)), radius=sc(12),
                        fill=PLATE, outline=PANEL_EDGE, width=sc(2))

    # emblem: open book with a lightning bolt
    ex, ey = 160, 520
    cover = [(ex - 108, ey - 40), (ex - 108, ey + 50), (ex, ey + 64),
             (ex + 108, ey + 50), (ex + 108, ey - 40)]
    d.polygon([sc(p) for p in cover], fill=BLUE, outline=BORDER)
    d.line([sc(p) for p in cover + [cover[0]]], fill=BORDER, width=sc(3))
    left = [(ex, ey - 28), (ex - 40, ey - 46), (ex - 98, ey - 46),
            (ex - 98, ey + 40), (ex - 40, ey + 40), (ex, ey + 56)]
    right = [(2 * ex - x, y) for (x, y) in left]
    for pg in (left, right):
        d.polygon([sc(p) for p in pg], fill=WHITE)
        d.line([sc(p) for p in pg + [pg[0]]], fill=BORDER, width=sc(3),
               joint="curve")
    for i in range(4):
        yy = ey - 28 + i * 16
        d.line(sc([(ex - 86, yy), (ex - 20, yy + 8)]), fill=GRID, width=sc(4))
        d.line(sc([(ex + 20, yy + 8), (ex + 86, yy)]), fill=GRID, width=sc(4))
    bolt2 = [(ex + 14, ey - 96), (ex - 34, ey - 4), (ex - 6, ey - 4),
             (ex - 22, ey + 50), (ex + 34, ey - 30), (ex + 6, ey - 30),
             (ex + 30, ey - 96)]
    d.polygon([sc(p) for p in bolt2], fill=YELLOW)
    d.line([sc(p) for p in bolt2 + [bolt2[0]]], fill=BORDER, width=sc(3),
           joint="curve")

    img = img.resize((W, H), Image.LANCZOS)
    return img


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..",
                                                             "title.png")
    mask = shape_mask()
    inner = erode(mask, 5)           # 5 px dark border around the shape

    art = draw_inner(inner)

    result = Image.new("RGB", (W, H), KEY)
    result.paste(Image.new("RGB", (W, H), BORDER), (0, 0), mask)
    result.paste(art, (0, 0), inner)

    # Safety: no pure red pixel may remain inside the plate.
    px = result.load()
    m = mask.load()
    fixed = 0
    for y in range(H):
        for x in range(W):
            if m[x, y] and px[x, y] == KEY:
                px[x, y] = ACCENT_RED
                fixed += 1
    if fixed:
        print("adjusted %d pure red pixels inside the plate" % fixed)

    result.save(out, "PNG", optimize=True)
    print("written", os.path.normpath(out))


if __name__ == "__main__":
    main()

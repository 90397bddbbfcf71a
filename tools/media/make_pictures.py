#!/usr/bin/env python3
"""Draws the game's pictures: the six play backgrounds, the round selection and options
backgrounds, the buttons, the completed marker, the round-won banner, the information
picture and the window icon.

Every frame and button is placed where the game hit-tests it (the layout constants below
repeat the game's screen coordinates). The look is a calm dusk: deep, softly lit
gradients, translucent dark panels under text, and light pastel lettering.

Usage: make_pictures.py OUTPUT_FOLDER
"""

import math
import random
import sys
from pathlib import Path

import numpy as np
from PIL import Image, ImageFilter

from drawing import Canvas, font, mix, vertical_gradient

W, H = 480, 640

# Play screen layout.
TILE_W, TILE_H = 84, 45
TILE_COLUMNS = [94 * c - 84 for c in range(1, 6)]       # 10, 104, 198, 292, 386
TILE_ROWS = [360 + 55 * k for k in range(4)]             # 360, 415, 470, 525
UNDO_BOX = (16, 580, 98, 40)
CHECK_BOX = (365, 580, 98, 40)
TRAY_TOP = 574
TRAY = (24, 27, 38)            # the bottom bar of every play background, under the JPEG buttons

# Round selection layout: round n = c + 5k, button at (85c - 53, 130 + 50k), 76 by 38.
ROUND_BUTTONS = [(85 * c - 53, 130 + 50 * k) for k in range(10) for c in range(1, 6)]

# Options screen hit boxes.
PLAY_BOX = (80, 320, 140, 140)
RESET_BOX = (270, 300, 140, 140)

# Play background themes: gradient top, gradient bottom, light, tile colour.
THEMES = [
    ((26, 72, 86), (12, 34, 48), (90, 170, 176), (44, 92, 104)),     # lagoon teal
    ((40, 46, 96), (18, 22, 50), (128, 128, 210), (58, 64, 118)),    # evening indigo
    ((70, 40, 78), (30, 18, 42), (186, 116, 186), (88, 56, 98)),     # plum
    ((30, 70, 56), (14, 36, 32), (112, 178, 132), (46, 72, 84)),     # pine and sage, slate tiles
    ((48, 62, 96), (22, 28, 50), (164, 146, 200), (64, 80, 116)),    # slate dusk
    ((78, 48, 54), (34, 22, 32), (204, 136, 120), (96, 62, 68)),     # rosewood
]

LIGHT = (238, 242, 250)
GOLD = (246, 210, 128)
SANS_BOLD = "DejaVuSans-Bold.ttf"
SANS = "DejaVuSans.ttf"
SERIF_BOLD = "DejaVuSerif-Bold.ttf"


def backdrop(theme, seed):
    """A deep vertical gradient lit by a few large soft lights, with drifting bokeh and two
    faint wave lines: quiet enough that text over it stays easy to read."""
    top, bottom, light, _ = theme
    rng = random.Random(seed)
    c = vertical_gradient(W, H, top, bottom)
    for _ in range(3):
        c.glow(rng.uniform(40, 440), rng.uniform(60, 560), rng.uniform(120, 200), light, 0.16)
    bokeh = Image.new("L", c.size(), 0)
    for _ in range(16):
        r = rng.uniform(6, 26)
        m = c.mask_ellipse(rng.uniform(0, W), rng.uniform(0, H), r)
        bokeh.paste(255, (0, 0), m)
    c.paint(bokeh.filter(ImageFilter.GaussianBlur(6)), light, 0.10)
    for i in range(2):
        base = rng.uniform(20, 600)
        amp, phase, period = rng.uniform(10, 24), rng.uniform(0, 6.28), rng.uniform(260, 420)
        pts = [(x, base + amp * math.sin(phase + 6.283 * x / period)) for x in range(-10, W + 12, 6)]
        c.paint(c.mask_line(pts, 2.5, round_caps=False).filter(ImageFilter.GaussianBlur(2)), light, 0.22)
    return c


def tile_frames(c, theme):
    """The 20 tile frames: raised rounded cards with a soft shadow and a light rim."""
    _, _, light, tile = theme
    cards = Image.new("L", c.size(), 0)
    for y in TILE_ROWS:
        for x in TILE_COLUMNS:
            cards.paste(255, (0, 0), c.mask_rrect(x + 1, y + 1, TILE_W - 2, TILE_H - 2, 10))
    c.shadow(cards, opacity=0.55, blur=3, dy=3)
    c.paint_gradient(cards, mix(tile, light, 0.22), mix(tile, (0, 0, 0), 0.18), 360, 570)
    # Each card: a light rim and a gentle sheen across its upper half.
    for y in TILE_ROWS:
        for x in TILE_COLUMNS:
            outer = c.mask_rrect(x + 1, y + 1, TILE_W - 2, TILE_H - 2, 10)
            inner = c.mask_rrect(x + 2, y + 2, TILE_W - 4, TILE_H - 4, 9)
            c.paint(diff(outer, inner), mix(light, (255, 255, 255), 0.5), 0.38)
            c.paint_gradient(c.mask_rrect(x + 4, y + 3, TILE_W - 8, 18, 8), (255, 255, 255), (255, 255, 255),
                             y, y + 22, 0.07)


def play_background(index, theme):
    c = backdrop(theme, 100 + index)
    _, _, light, tile = theme
    # Ornament under the heading.
    c.paint(c.mask_line([(190, 62), (228, 62)], 1.5), light, 0.55)
    c.paint(c.mask_line([(252, 62), (290, 62)], 1.5), light, 0.55)
    c.paint(c.mask_ellipse(240, 62, 3.2), GOLD, 0.85)
    # Word list panel (lines at y = 88 + 28 (w - 1), rules at 108 .. 276 from x 155 to 320).
    panel = c.mask_rrect(124, 78, 232, 212, 16)
    c.shadow(panel, opacity=0.35, blur=6, dy=3)
    c.paint(panel, (6, 8, 16), 0.42)
    c.paint(ring(c, 124, 78, 232, 212, 16), light, 0.22)
    # Band behind the FIND line (printed at y = 318).
    band = c.mask_rrect(-20, 310, W + 40, 36, 0)
    c.paint_gradient(band, (6, 8, 16), (6, 8, 16), 0, 1, 0.34)
    c.paint(diff(c.mask_rrect(-20, 309, W + 40, 1, 0), Image.new("L", c.size(), 0)), light, 0.18)
    c.paint(diff(c.mask_rrect(-20, 346, W + 40, 1, 0), Image.new("L", c.size(), 0)), light, 0.18)
    # Tile tray and tiles.
    c.paint(c.mask_rrect(4, 353, 472, 217, 14), (4, 6, 12), 0.26)
    tile_frames(c, theme)
    # Bottom bar: one flat colour shared by every background so the JPEG buttons sit on it.
    c.paint(c.mask_rrect(0, TRAY_TOP, W, H - TRAY_TOP, 0), TRAY)
    c.paint(c.mask_rrect(0, TRAY_TOP, W, 1, 0), mix(TRAY, light, 0.35))
    slot = c.mask_rrect(122, 579, 236, 42, 12)
    c.paint(slot, (12, 14, 22))
    c.paint(diff(slot, c.mask_rrect(123, 580, 234, 40, 11)), light, 0.22)
    return c.final().convert("RGB")


def diff(a, b):
    return Image.fromarray((np.asarray(a).astype(int) - np.asarray(b).astype(int)).clip(0, 255).astype("uint8"))


def ring(c, x, y, w, h, r, width=1.0):
    return diff(c.mask_rrect(x, y, w, h, r), c.mask_rrect(x + width, y + width, w - 2 * width, h - 2 * width,
                                                          max(0, r - width)))


def title(c, y, size):
    """The name, "Split" in gold and "Verse" in mint, the halves set slightly apart."""
    f = font(SERIF_BOLD, size)
    split_w = f.getlength("Split") / 4
    verse_w = f.getlength("Verse") / 4
    gap = size * 0.12
    x0 = (W - split_w - verse_w - gap) / 2
    c.text("Split", f, x0, y, (250, 214, 130), anchor="ls", shadow=0.7)
    c.text("Verse", f, x0 + split_w + gap, y + size * 0.10, (150, 228, 190), anchor="ls", shadow=0.7)


def round_selection():
    theme = ((30, 56, 84), (16, 24, 46), (120, 160, 200), None)
    c = backdrop(theme, 9)
    title(c, 48, 30)
    light = theme[2]
    c.paint(c.mask_line([(170, 119), (230, 119)], 1.2), light, 0.45)
    c.paint(c.mask_line([(250, 119), (310, 119)], 1.2), light, 0.45)
    c.paint(c.mask_ellipse(240, 119, 2.6), GOLD, 0.8)
    pills = Image.new("L", c.size(), 0)
    for x, y in ROUND_BUTTONS:
        pills.paste(255, (0, 0), c.mask_rrect(x, y, 76, 38, 13))
    c.shadow(pills, opacity=0.5, blur=3, dy=3)
    # The colour drifts row by row from teal to violet as the rounds grow harder.
    for k in range(10):
        tone = mix((44, 104, 116), (96, 74, 140), k / 9)
        for c_ in range(5):
            x, y = ROUND_BUTTONS[k * 5 + c_]
            m = c.mask_rrect(x, y, 76, 38, 13)
            c.paint_gradient(m, mix(tone, LIGHT, 0.16), mix(tone, (0, 0, 0), 0.2), y, y + 38)
            c.paint(ring(c, x, y, 76, 38, 13), LIGHT, 0.30)
            c.paint_gradient(c.mask_rrect(x + 4, y + 3, 68, 15, 8), (255, 255, 255), (255, 255, 255), 0, 1, 0.06)
    return c.final().convert("RGB")


def options_screen():
    theme = ((34, 62, 88), (18, 20, 44), (140, 150, 210), None)
    c = backdrop(theme, 10)
    light = theme[2]
    # Floating fragment cards around the title.
    cards = [("SP", 54, 70, -1), ("LIT", 352, 64, 1), ("VER", 70, 236, 1), ("SE", 372, 240, -1)]
    small = font(SANS_BOLD, 15)
    for text, x, y, _ in cards:
        m = c.mask_rrect(x, y, 58, 32, 9)
        c.shadow(m, opacity=0.45, blur=3, dy=3)
        c.paint_gradient(m, (70, 104, 128), (46, 70, 96), y, y + 32, 0.85)
        c.paint(ring(c, x, y, 58, 32, 9), LIGHT, 0.30)
        c.text(text, small, x + 29, y + 16.5, (190, 240, 212), anchor="mm", shadow=0.5, opacity=0.9)
    title(c, 178, 64)
    c.text("a calm game of split words", font(SANS, 16), W / 2, 226, (214, 222, 240), anchor="mm", shadow=0.6)

    def big_button(box, top, bottom, label, icon):
        x, y, w, h = box
        cx, cy, r = x + w / 2, y + h / 2, w / 2 - 4
        disc = c.mask_ellipse(cx, cy, r)
        c.glow(cx, cy, r + 18, top, 0.22)
        c.shadow(disc, opacity=0.55, blur=6, dy=5)
        c.paint_gradient(disc, top, bottom, cy - r, cy + r)
        c.paint(diff(disc, c.mask_ellipse(cx, cy, r - 2.5)), LIGHT, 0.55)
        c.paint_gradient(c.mask_ellipse(cx, cy - r * 0.45, r * 0.72, r * 0.42), (255, 255, 255), (255, 255, 255),
                         0, 1, 0.08)
        icon(cx, cy - 12)
        c.text(label, font(SANS_BOLD, 17), cx, cy + 34, LIGHT, anchor="mm", shadow=0.6)

    def play_icon(cx, cy):
        m = c.mask_polygon([(cx - 15, cy - 22), (cx - 15, cy + 22), (cx + 24, cy)])
        c.shadow(m, opacity=0.4, blur=1.5, dy=1.5)
        c.paint(m, LIGHT)

    def reset_icon(cx, cy):
        pts = [(cx + 20 * math.cos(a / 20 * 5.2 + 0.9), cy + 20 * math.sin(a / 20 * 5.2 + 0.9)) for a in range(21)]
        m = c.mask_line(pts, 6)
        ex, ey = pts[-1]
        ang = 5.2 + 0.9 + math.pi / 2
        tip = [(ex + 11 * math.cos(ang), ey + 11 * math.sin(ang)),
               (ex + 9 * math.cos(ang - 2.2), ey + 9 * math.sin(ang - 2.2)),
               (ex + 9 * math.cos(ang + 2.2) + 0, ey + 9 * math.sin(ang + 2.2))]
        tip_m = c.mask_polygon(tip)
        m.paste(255, (0, 0), tip_m)
        c.shadow(m, opacity=0.4, blur=1.5, dy=1.5)
        c.paint(m, LIGHT)

    big_button(PLAY_BOX, (96, 184, 158), (44, 112, 108), "PLAY", play_icon)
    big_button(RESET_BOX, (178, 132, 180), (100, 70, 120), "RESET", reset_icon)
    caption = font(SANS, 12.5)
    c.text("choose a round", caption, 150, 474, (200, 210, 230), anchor="mm", shadow=0.5)
    c.text("start over", caption, 340, 454, (200, 210, 230), anchor="mm", shadow=0.5)
    # A quiet row of cards near the foot of the screen.
    for i, text in enumerate(["RE", "LAX", "AND", "PL", "AY"]):
        x = 74 + i * 70
        m = c.mask_rrect(x, 520, 58, 30, 9)
        c.paint_gradient(m, (64, 82, 118), (42, 52, 86), 520, 550, 0.55)
        c.paint(ring(c, x, 520, 58, 30, 9), LIGHT, 0.18)
        c.text(text, small, x + 29, 535.5, (190, 240, 212), anchor="mm", shadow=0.4, opacity=0.55)
    return c.final().convert("RGB")


def round_icon_button(draw_icon, tint=LIGHT):
    """A 40 by 40 disc button with a light rim and an icon."""
    c = Canvas(40, 40)
    disc = c.mask_ellipse(20, 20, 18.5)
    c.shadow(disc, opacity=0.6, blur=1.5, dy=1.2)
    c.paint_gradient(disc, (78, 92, 128), (44, 52, 82), 2, 38, 0.96)
    c.paint(diff(disc, c.mask_ellipse(20, 20, 17)), LIGHT, 0.6)
    draw_icon(c, tint)
    return c.final()


def icon_back(c, tint):
    m = c.mask_line([(23, 11), (14, 20), (23, 29)], 4)
    m.paste(255, (0, 0), c.mask_line([(15, 20), (28, 20)], 4))
    c.paint(m, tint)


def icon_close(c, tint):
    m = c.mask_line([(13.5, 13.5), (26.5, 26.5)], 4)
    m.paste(255, (0, 0), c.mask_line([(26.5, 13.5), (13.5, 26.5)], 4))
    c.paint(m, (250, 200, 200))


def icon_info(c, tint):
    m = c.mask_ellipse(20, 12.5, 2.8)
    m.paste(255, (0, 0), c.mask_line([(20, 18), (20, 29)], 4.4))
    c.paint(m, tint)


def speaker(c):
    return c.mask_polygon([(9, 16.5), (14, 16.5), (20, 11), (20, 29), (14, 23.5), (9, 23.5)])


def icon_sound(c, tint):
    m = speaker(c)
    for r in (5, 9.5):
        pts = [(20 + r * math.cos(a), 20 + r * math.sin(a)) for a in [(-0.9 + 1.8 * i / 12) for i in range(13)]]
        m.paste(255, (0, 0), c.mask_line(pts, 2.4))
    c.paint(m, tint)


def icon_mute(c, tint):
    c.paint(speaker(c), tint, 0.75)
    m = c.mask_line([(24, 16), (31, 24)], 2.6)
    m.paste(255, (0, 0), c.mask_line([(31, 16), (24, 24)], 2.6))
    c.paint(m, (250, 190, 190))


def bar_button(label, top, bottom, icon):
    """A 98 by 40 JPEG button: a rounded bar on the play screen's bottom-bar colour."""
    c = Canvas(98, 40, TRAY + (255,))
    m = c.mask_rrect(1, 1, 96, 38, 12)
    c.paint_gradient(m, top, bottom, 1, 39)
    c.paint(ring(c, 1, 1, 96, 38, 12, 1.2), LIGHT, 0.5)
    c.paint_gradient(c.mask_rrect(4, 3, 90, 16, 8), (255, 255, 255), (255, 255, 255), 0, 1, 0.08)
    icon(c)
    c.text(label, font(SANS_BOLD, 14), 58, 20.5, LIGHT, anchor="mm", shadow=0.6)
    return c.final().convert("RGB")


def icon_tick(c):
    m = c.mask_line([(11, 20.5), (16, 26), (25, 14)], 3.6)
    c.shadow(m, opacity=0.4, blur=1, dy=1)
    c.paint(m, LIGHT)


def icon_undo(c):
    pts = [(18 + 8 * math.cos(a), 21 + 8 * math.sin(a)) for a in [(-2.4 + 3.9 * i / 16) for i in range(17)]]
    m = c.mask_line(pts, 3.2)
    m.paste(255, (0, 0), c.mask_polygon([(6.5, 13), (15.5, 10.5), (13.8, 19.8)]))
    c.shadow(m, opacity=0.4, blur=1, dy=1)
    c.paint(m, LIGHT)


def completed_marker():
    c = Canvas(32, 32)
    disc = c.mask_ellipse(16, 16, 13)
    c.shadow(disc, opacity=0.6, blur=1.5, dy=1.2)
    c.paint_gradient(disc, (255, 226, 150), (226, 168, 72), 3, 29)
    c.paint(diff(disc, c.mask_ellipse(16, 16, 11.8)), (255, 244, 214), 0.8)
    c.paint(c.mask_line([(10, 16.5), (14.3, 21), (22, 11.5)], 3.4), (70, 48, 24))
    return c.final()


def banner():
    """The round-won banner, 354 wide so that it sits centred when drawn at x = 63."""
    w, h = 354, 230
    c = Canvas(w, h)
    panel = c.mask_rrect(10, 12, w - 20, h - 26, 26)
    c.shadow(panel, opacity=0.7, blur=6, dy=4)
    c.paint_gradient(panel, (48, 92, 112), (30, 38, 84), 12, h - 14)
    c.paint(ring(c, 10, 12, w - 20, h - 26, 26, 2.5), (246, 210, 128), 0.9)
    c.paint(ring(c, 17, 19, w - 34, h - 40, 20, 1), LIGHT, 0.25)
    for sx, sy, r in [(56, 58, 9), (298, 62, 7), (70, 176, 6), (290, 172, 9), (177, 40, 6)]:
        pts = []
        for i in range(8):
            rad = r if i % 2 == 0 else r * 0.38
            a = -math.pi / 2 + i * math.pi / 4
            pts.append((sx + rad * math.cos(a), sy + rad * math.sin(a)))
        c.paint(c.mask_polygon(pts), (255, 226, 150), 0.85)
    c.text("WELL DONE!", font(SANS_BOLD, 38), w / 2, 100, (252, 216, 130), anchor="mm", shadow=0.8)
    c.text("round complete", font(SANS, 19), w / 2, 146, (196, 238, 214), anchor="mm", shadow=0.6)
    return c.final()


def info_picture():
    """How a round is played: three fragment cards come together into one word."""
    w, h = 300, 200
    c = Canvas(w, h)
    panel = c.mask_rrect(4, 4, w - 8, h - 10, 20)
    c.shadow(panel, opacity=0.5, blur=5, dy=3)
    c.paint_gradient(panel, (24, 30, 52), (14, 18, 34), 4, h - 6, 0.92)
    c.paint(ring(c, 4, 4, w - 8, h - 10, 20, 1.5), LIGHT, 0.3)
    frag = font(SANS_BOLD, 20)
    for i, text in enumerate(["ZZL", "PU", "ES"]):
        x = 28 + i * 86
        m = c.mask_rrect(x, 24, 72, 40, 10)
        c.shadow(m, opacity=0.5, blur=2.5, dy=2.5)
        c.paint_gradient(m, (70, 118, 132), (40, 80, 96), 24, 64)
        c.paint(ring(c, x, 24, 72, 40, 10), LIGHT, 0.4)
        c.text(text, frag, x + 36, 44.5, (204, 250, 222), anchor="mm", shadow=0.6)
    arrow = c.mask_line([(150, 78), (150, 110)], 4)
    arrow.paste(255, (0, 0), c.mask_polygon([(139, 106), (161, 106), (150, 120)]))
    c.paint(arrow, (246, 210, 128), 0.9)
    word = c.mask_rrect(50, 130, 200, 46, 14)
    c.paint(word, (8, 10, 18), 0.6)
    c.paint(ring(c, 50, 130, 200, 46, 14, 1.5), (246, 210, 128), 0.6)
    c.text("PUZZLES", font(SANS_BOLD, 24), 150, 153.5, (252, 216, 130), anchor="mm", shadow=0.7)
    return c.final()


def window_icon():
    s = 128
    c = Canvas(s, s)
    body = c.mask_rrect(6, 6, s - 12, s - 12, 26)
    c.shadow(body, opacity=0.5, blur=3, dy=2)
    c.paint_gradient(body, (40, 96, 112), (32, 34, 82), 6, s - 6)
    c.paint(ring(c, 6, 6, s - 12, s - 12, 26, 2), LIGHT, 0.35)
    f = font(SERIF_BOLD, 46)
    for text, x, y, top, bottom, colour in [("S", 16, 24, (96, 150, 164), (60, 104, 124), (250, 214, 130)),
                                            ("V", 62, 64, (120, 104, 170), (80, 66, 128), (170, 236, 200))]:
        m = c.mask_rrect(x, y, 50, 42, 11)
        c.shadow(m, opacity=0.55, blur=2.5, dy=2.5)
        c.paint_gradient(m, top, bottom, y, y + 42)
        c.paint(ring(c, x, y, 50, 42, 11, 1.5), LIGHT, 0.5)
        c.text(text, font(SERIF_BOLD, 30), x + 25, y + 21.5, colour, anchor="mm", shadow=0.6)
    return c.final()


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    # Full-resolution colour (no chroma subsampling) keeps thin rims and small lettering clean.
    jpeg = dict(quality=90, optimize=True, progressive=False, subsampling=0)
    for i, theme in enumerate(THEMES, start=1):
        play_background(i, theme).save(out / f"back{i}.jpg", **jpeg)
    round_selection().save(out / "back9.jpg", **jpeg)
    options_screen().save(out / "options.jpg", **jpeg)
    pngs = {
        "info2.png": round_icon_button(icon_info),
        "sound2.png": round_icon_button(icon_sound),
        "mute2.png": round_icon_button(icon_mute),
        "previous2.png": round_icon_button(icon_back),
        "close2.png": round_icon_button(icon_close),
        "won.png": completed_marker(),
        "good.png": banner(),
        "wa.png": info_picture(),
        "icon.png": window_icon(),
    }
    for name, img in pngs.items():
        img.save(out / name, optimize=True)
    jpeg_buttons = {"test.jpg": bar_button("CHECK", (92, 170, 140), (56, 124, 104), icon_tick),
                    "oops.jpg": bar_button("UNDO", (186, 128, 140), (136, 86, 104), icon_undo)}
    for name, img in jpeg_buttons.items():
        img.save(out / name, quality=95, optimize=True, subsampling=0)


if __name__ == "__main__":
    main()

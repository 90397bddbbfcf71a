#!/usr/bin/env python3
"""Draws the game's bitmap font images from the DejaVu outline fonts.

Each image is a 16 by 8 grid of cells holding ASCII 0..127 (rows 0 and 1 stay empty). A
glyph is drawn at its pen origin with a soft vertical tint and a one-pixel shadow. Because
the runtime sizes every glyph by its inked columns, the generator marks the glyph's true
advance with single pixels of alpha 1 (invisible when drawn): proportional text then keeps
the outline font's own spacing instead of packing letters one pixel apart.

Usage: make_fonts.py OUTPUT_FOLDER
"""

import sys
from pathlib import Path

import numpy as np
from PIL import Image, ImageDraw, ImageFont

from font_rules import measure_glyphs, text_width

DEJAVU = Path("/usr/share/fonts/truetype/dejavu")

# name, outline font, pixel size, cell width, cell height, baseline row, tint top, tint bottom,
# shadow opacity, shadow offset to the right (0 or 1, it is always 1 down), extra spacing after each glyph
FONTS = [
    ("small.png", "DejaVuSans.ttf", 14, 16, 20, 14, (246, 247, 250), (218, 226, 240), 0.55, 0, 0),
    ("gold.png", "DejaVuSans-Bold.ttf", 18, 24, 24, 17, (255, 236, 170), (238, 184, 88), 0.70, 0, 0),
    ("cyan.png", "DejaVuSansCondensed-Bold.ttf", 16, 20, 22, 16, (196, 242, 248), (112, 204, 226), 0.70, 0, 0),
    ("silver.png", "DejaVuSans-Bold.ttf", 18, 24, 24, 17, (248, 249, 252), (186, 194, 210), 0.70, 0, 0),
    ("mint.png", "DejaVuSans-Bold.ttf", 21, 28, 26, 19, (204, 250, 222), (124, 222, 170), 0.70, 1, 0),
    ("mauve.png", "DejaVuSans-Bold.ttf", 18, 24, 24, 17, (232, 212, 248), (186, 148, 222), 0.70, 0, 0),
    ("smalfont.png", "DejaVuSans.ttf", 11, 12, 16, 12, (255, 255, 255), (226, 230, 238), 0.60, 0, 0),
]

SHADOW = np.array([12, 14, 24], dtype=np.float64)


def glyph_mask(font, ch, cw, cell_h, baseline, pad):
    """The coverage of one character drawn at (pad, baseline) in a cell-sized canvas, checked
    to lie wholly inside the cell."""
    big = Image.new("L", (cw * 3, cell_h * 3), 0)
    ImageDraw.Draw(big).text((cw + pad, cell_h + baseline), ch, font=font, fill=255, anchor="ls")
    arr = np.asarray(big, dtype=np.float64) / 255
    ys, xs = np.nonzero(arr)
    if ys.size:
        assert ys.min() >= cell_h and ys.max() < 2 * cell_h - 1, f"{ch!r} leaves its cell vertically"
        assert xs.min() >= cw and xs.max() < 2 * cw - 1, f"{ch!r} leaves its cell horizontally"
    return arr[cell_h:2 * cell_h, cw:2 * cw]


def draw_font(spec):
    name, ttf, size, cw, ch, baseline, top, bottom, shadow_alpha, shadow_dx, tracking = spec
    font = ImageFont.truetype(str(DEJAVU / ttf), size)
    cap_top = baseline - round(font.getbbox("H", anchor="ls")[1] * -1)
    rows = np.arange(ch, dtype=np.float64)
    t = np.clip((rows - cap_top) / max(1, baseline - cap_top), 0, 1)[:, None]
    tint = (np.array(top, dtype=np.float64) * (1 - t) + np.array(bottom, dtype=np.float64) * t)[:, None, :]

    image = np.zeros((ch * 8, cw * 16, 4), dtype=np.float64)
    for code in range(33, 127):
        text = chr(code)
        # Leave a column on the left for letters that reach behind their origin (j, comma).
        pad = max(0, -font.getbbox(text, anchor="ls")[0])
        mask = glyph_mask(font, text, cw, ch, baseline, pad)
        shadow = np.zeros_like(mask)
        if shadow_dx:
            shadow[1:, 1:] = mask[:-1, :-1] * shadow_alpha
        else:
            shadow[1:, :] = mask[:-1, :] * shadow_alpha
        alpha = mask + shadow * (1 - mask)
        colour = np.where(alpha[:, :, None] > 0,
                          (tint * mask[:, :, None] + SHADOW * (shadow * (1 - mask))[:, :, None])
                          / np.maximum(alpha, 1e-9)[:, :, None], 0)
        cell = np.dstack([colour, alpha * 255])

        # The advance the runtime must measure: the outline font's advance plus tracking,
        # widened if ink (the shadow) reaches beyond it.
        inked = np.nonzero(alpha.any(axis=0))[0]
        left = min(pad, int(inked[0]))
        end = max(pad + round(font.getlength(text)) + tracking, int(inked[-1]) + 1)
        if left < inked[0]:
            cell[0, left] = [*top, 1]
        # The runtime adds one column after the last inked one, so the marker goes one
        # column before the advance; ink reaching the advance itself widens it by one.
        assert end < cw, f"{name}: {text!r} needs a wider cell"
        if end - 2 > inked[-1]:
            cell[0, end - 2] = [*top, 1]
        col, row = code % 16, code // 16
        image[row * ch:(row + 1) * ch, col * cw:(col + 1) * cw] = cell
    return np.clip(np.rint(image), 0, 255).astype(np.uint8)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for spec in FONTS:
        rgba = draw_font(spec)
        Image.fromarray(rgba, "RGBA").save(out / spec[0], optimize=True)
        glyphs = measure_glyphs(rgba)
        sample = "SPLITVERSE 0123456789 ?"
        print(f"{spec[0]}: {rgba.shape[1]}x{rgba.shape[0]}, cells {spec[3]}x{spec[4]}, "
              f"'{sample}' = {text_width(glyphs, sample)} px, space = {glyphs[32][1]} px")


if __name__ == "__main__":
    main()

"""How the game's runtime reads a font image, restated so the generator can check its output.

A font image is a 16-column grid of glyph cells. Cell width = image width / 16; an image
narrower than it is tall holds 256 glyphs in 16 rows, any other 128 glyphs in 8 rows. A
column of a cell is inked when any pixel in it has alpha above 0; a glyph is drawn from its
first to its last inked column, and one column of spacing follows when the cell has room.
The space is made as wide as "j". Proportional text is the sum of the glyph widths.
"""

import numpy as np


def glyph_geometry(width, height):
    """(cell width, cell height, glyph count) of a font image of this size."""
    cw = width // 16
    if width < height:
        return cw, height // 16, 256
    return cw, height // 8, 128


def measure_glyphs(rgba):
    """Glyph records (left, width) for every byte value, measured from an RGBA array."""
    height, width = rgba.shape[:2]
    cw, ch, count = glyph_geometry(width, height)
    alpha = rgba[:, :, 3]
    glyphs = []
    for c in range(count):
        col, row = c % 16, c // 16
        cell = alpha[row * ch:(row + 1) * ch, col * cw:(col + 1) * cw]
        inked = np.nonzero(cell.any(axis=0))[0]
        if inked.size == 0:
            glyphs.append((0, cw))
            continue
        left, right = int(inked[0]), int(inked[-1])
        w = right - left + 1
        if left + w < cw:
            w += 1
        glyphs.append((left, w))
    if count > 106:
        glyphs[32] = (0, glyphs[106][1])
    if count == 128:
        glyphs = glyphs + glyphs
    return glyphs


def text_width(glyphs, text):
    """Width in pixels of proportional text, as the runtime computes it."""
    return sum(glyphs[b][1] for b in text.encode("latin-1"))


def draw_text(canvas, font_rgba, glyphs, text, x, y, additive=False):
    """Draws proportional text onto an RGB float canvas the way the runtime's quads do:
    each glyph's columns from its left edge, as wide as its measured width, a full cell high."""
    height, width = font_rgba.shape[:2]
    cw, ch, count = glyph_geometry(width, height)
    pen = int(np.ceil(x))
    y = int(np.ceil(y))
    for b in text.encode("latin-1"):
        g = b % count
        if g == 0:
            break
        left, w = glyphs[g]
        col, row = g % 16, g // 16
        src = font_rgba[row * ch:(row + 1) * ch, col * cw + left:col * cw + left + w].astype(np.float64) / 255
        x0, y0 = pen, y
        x1, y1 = min(pen + src.shape[1], canvas.shape[1]), min(y + ch, canvas.shape[0])
        if x0 < x1 and y0 < y1 and x0 >= 0 and y0 >= 0:
            s = src[:y1 - y0, :x1 - x0]
            a = s[:, :, 3:4]
            if additive:
                canvas[y0:y1, x0:x1] = np.minimum(1, canvas[y0:y1, x0:x1] + s[:, :, :3] * a)
            else:
                canvas[y0:y1, x0:x1] = canvas[y0:y1, x0:x1] * (1 - a) + s[:, :, :3] * a
        pen += w

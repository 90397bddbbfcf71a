"""Small drawing kit for the picture generator: supersampled layers, gradients, rounded
shapes with soft shadows, and text from the DejaVu outline fonts."""

from pathlib import Path

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

DEJAVU = Path("/usr/share/fonts/truetype/dejavu")
SS = 4  # every picture is drawn at four times its size and scaled down, for smooth edges


def font(name, size):
    return ImageFont.truetype(str(DEJAVU / name), int(round(size * SS)))


class Canvas:
    """An RGBA picture of width by height final pixels, drawn at SS times that size."""

    def __init__(self, width, height, colour=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.img = Image.new("RGBA", (width * SS, height * SS), tuple(colour))

    def size(self):
        return self.img.size

    # --- masks -------------------------------------------------------------------------
    def mask_rrect(self, x, y, w, h, r):
        m = Image.new("L", self.size(), 0)
        ImageDraw.Draw(m).rounded_rectangle(
            [x * SS, y * SS, (x + w) * SS - 1, (y + h) * SS - 1], radius=r * SS, fill=255)
        return m

    def mask_ellipse(self, cx, cy, rx, ry=None):
        ry = rx if ry is None else ry
        m = Image.new("L", self.size(), 0)
        ImageDraw.Draw(m).ellipse([(cx - rx) * SS, (cy - ry) * SS, (cx + rx) * SS, (cy + ry) * SS], fill=255)
        return m

    def mask_polygon(self, points):
        m = Image.new("L", self.size(), 0)
        ImageDraw.Draw(m).polygon([(px * SS, py * SS) for px, py in points], fill=255)
        return m

    def mask_line(self, points, width, round_caps=True):
        m = Image.new("L", self.size(), 0)
        d = ImageDraw.Draw(m)
        pts = [(px * SS, py * SS) for px, py in points]
        d.line(pts, fill=255, width=int(round(width * SS)), joint="curve")
        if round_caps:
            rad = width * SS / 2
            for px, py in (pts[0], pts[-1]):
                d.ellipse([px - rad, py - rad, px + rad, py + rad], fill=255)
        return m

    def mask_text(self, text, fnt, x, y, anchor="la"):
        m = Image.new("L", self.size(), 0)
        ImageDraw.Draw(m).text((x * SS, y * SS), text, font=fnt, fill=255, anchor=anchor)
        return m

    # --- painting ----------------------------------------------------------------------
    def paint(self, mask, colour, opacity=1.0):
        """Paints a flat colour (RGB or RGBA) through a mask."""
        colour = tuple(colour)
        a = colour[3] / 255 if len(colour) == 4 else 1.0
        box = mask.getbbox()
        if box is None:
            return
        layer = Image.new("RGBA", (box[2] - box[0], box[3] - box[1]), colour[:3] + (0,))
        layer.putalpha(mask.crop(box).point(lambda v: int(v * a * opacity)))
        self.img.alpha_composite(layer, dest=box[:2])

    def paint_gradient(self, mask, top, bottom, y0, y1, opacity=1.0):
        """Paints a vertical gradient from top (at y0) to bottom (at y1) through a mask."""
        h = self.size()[1]
        ys = np.arange(h, dtype=np.float64) / SS
        t = np.clip((ys - y0) / max(1e-6, y1 - y0), 0, 1)[:, None]
        rgb = np.array(top[:3], np.float64) * (1 - t) + np.array(bottom[:3], np.float64) * t
        rgb = np.repeat(rgb[:, None, :], self.size()[0], axis=1)
        box = mask.getbbox()
        if box is None:
            return
        rgb = rgb[box[1]:box[3], box[0]:box[2]]
        layer = Image.fromarray(np.clip(rgb, 0, 255).astype(np.uint8), "RGB").convert("RGBA")
        layer.putalpha(mask.crop(box).point(lambda v: int(v * opacity)))
        self.img.alpha_composite(layer, dest=box[:2])

    def shadow(self, mask, colour=(0, 0, 0), opacity=0.5, blur=4, dx=0, dy=2):
        m = mask.filter(ImageFilter.GaussianBlur(blur * SS))
        m = m.transform(m.size, Image.AFFINE, (1, 0, -dx * SS, 0, 1, -dy * SS))
        self.paint(m, colour, opacity)

    def glow(self, cx, cy, radius, colour, opacity):
        """A soft round light: a disc blurred to a third of its radius."""
        m = self.mask_ellipse(cx, cy, radius).filter(ImageFilter.GaussianBlur(radius * SS / 2.5))
        self.paint(m, colour, opacity)

    def text(self, text, fnt, x, y, colour, anchor="la", shadow=0.5, opacity=1.0):
        m = self.mask_text(text, fnt, x, y, anchor)
        if shadow:
            self.shadow(m, (8, 10, 20), shadow, blur=1.2, dy=1.5)
        self.paint(m, colour, opacity)

    def final(self):
        return self.img.resize((self.width, self.height), Image.LANCZOS)


def vertical_gradient(width, height, top, bottom):
    c = Canvas(width, height)
    c.paint_gradient(Image.new("L", c.size(), 255), top, bottom, 0, height)
    return c


def mix(a, b, t):
    return tuple(int(round(a[i] * (1 - t) + b[i] * t)) for i in range(3))

#!/usr/bin/env python3
"""Composes still pictures of the game's screens from the media, placing sprites and text
the way the game does, so the pictures and fonts can be judged together before a build.
Prints the widths of the longest texts each font must fit.

Usage: preview_screens.py MEDIA_FOLDER OUTPUT_FOLDER
"""

import sys
from pathlib import Path

import numpy as np
from PIL import Image

from font_rules import draw_text, measure_glyphs, text_width


def load(media, name):
    return np.asarray(Image.open(media / name).convert("RGBA")).astype(np.float64) / 255


class Screen:
    def __init__(self, media):
        self.media = media
        self.canvas = np.zeros((640, 480, 3))
        self.fonts = {}
        for n, name in enumerate(["small.png", "gold.png", "cyan.png", "silver.png", "mint.png", "mauve.png"], 1):
            rgba = np.asarray(Image.open(media / name).convert("RGBA"))
            self.fonts[n] = (rgba, measure_glyphs(rgba))

    def sprite(self, name, x, y):
        s = load(self.media, name)
        h, w = s.shape[:2]
        region = self.canvas[y:y + h, x:x + w]
        s = s[:region.shape[0], :region.shape[1]]
        a = s[:, :, 3:4]
        region[:] = region * (1 - a) + s[:, :, :3] * a

    def width(self, font, text):
        return text_width(self.fonts[font][1], text)

    def text(self, font, text, x, y, additive=False):
        rgba, glyphs = self.fonts[font]
        draw_text(self.canvas, rgba, glyphs, text, x, y, additive)

    def centred(self, font, text, y):
        self.text(font, text, 240 - self.width(font, text) // 2, y)

    def line(self, x0, x1, y, colour):
        self.canvas[y, x0:x1 + 1] = np.array(colour) / 255

    def save(self, path):
        Image.fromarray((self.canvas * 255).round().astype(np.uint8)).save(path)


def play(media, back, found):
    words = ["LANTERN", "CANDLE", "TORCH", "BEACON", "SPARKLER", "FIREFLY", "STARLIGHT"]
    s = Screen(media)
    s.sprite(f"back{back}.jpg", 0, 0)
    s.sprite("oops.jpg", 16, 580)
    s.sprite("test.jpg", 365, 580)
    s.sprite("close2.png", 430, 10)
    s.sprite("previous2.png", 10, 10)
    s.centred(2, "ROUND 50", 28)
    for w in range(1, 8):
        solved = w <= found
        text = f"{w}. " + (words[w - 1] if solved else "?" * len(words[w - 1]))
        s.text(2 if solved else 6, text, 160, 60 + 28 * w)
        s.line(155, 320, 80 + 28 * w, (80, 80, 80))
    s.centred(3, f"FIND {7 - found} things that give a gentle light", 318)
    frags = ["LA", "RN", "NTE", "CA", "LE", "ND", "TO", "CH", "R", "BE", "ON", "AC", "SP", "ER", "AR", "KL",
             "FI", "LY", "REF", "WWW"]
    for i, f in enumerate(frags):
        c, k = i % 5 + 1, i // 5
        x, y = 94 * c - 84, 360 + 55 * k
        s.text(5, f, x + 42 - s.width(5, f) // 2, y + 11)
    s.centred(2, "STARLI", 588)
    return s


def round_select(media):
    s = Screen(media)
    s.sprite("back9.jpg", 0, 0)
    s.sprite("close2.png", 430, 10)
    s.sprite("previous2.png", 10, 10)
    s.centred(2, "CHOOSE A ROUND TO PLAY", 88)
    for c in range(1, 6):
        for k in range(10):
            n = c + 5 * k
            if n in (1, 2, 3, 7, 12, 25, 50):
                s.sprite("won.png", 85 * c - 13, 133 + 50 * k)
            s.text(1, f"{n}.", 85 * c - 40, 140 + 50 * k)
    return s


def options(media):
    s = Screen(media)
    s.sprite("options.jpg", 0, 0)
    s.sprite("close2.png", 430, 10)
    s.sprite("info2.png", 10, 590)
    s.sprite("sound2.png", 430, 590)
    return s


def information(media):
    s = Screen(media)
    ys = np.linspace(0, 1, 640)[:, None, None]
    s.canvas[:] = np.array([10, 80, 80]) / 255 * (1 - ys) + np.array([80, 10, 10]) / 255 * ys
    lines = [(70, "In each round simply reassemble the split words"),
             (90, "to spell out the seven related words described"),
             (110, "in the clue."), (140, "This relaxing diversion is free from any scores,"),
             (160, "penalties or time limits."), (190, "Progress is saved on completion of each level."),
             (230, "Enjoy."), (470, "SplitVerse - a calm word puzzle"),
             (490, "Made with the Tavrick runtime"), (520, "Fonts: DejaVu (free licence)")]
    for y, t in lines:
        s.text(1, t, 25, y, additive=True)
    s.sprite("close2.png", 430, 10)
    s.sprite("previous2.png", 10, 10)
    s.sprite("wa.png", 90, 252)
    return s


def banner(media):
    s = Screen(media)
    s.sprite("good.png", 63, 70)
    return s


def cuts(word):
    """The fragments the play screen cuts a word into."""
    n = len(word)
    plan = {4: [(0, 2), (n - 2, None)], 5: [(0, 2), (n - 3, None)], 6: [(0, 2), (n - 2, None), (2, 2)],
            7: [(0, 2), (n - 2, None), (2, 3)], 8: [(0, 2), (n - 2, None), (2, 2), (4, 2)],
            9: [(0, 3), (n - 3, None), (3, 3)], 10: [(0, 2), (n - 2, None), (2, 3), (5, 3)]}.get(n, [])
    return [word[a:] if b is None else word[a:a + b] for a, b in plan]


def check_rounds(media, rounds_file):
    """The widest texts of the puzzle source in these fonts, beside the room the screen has."""
    s = Screen(media)
    clues, words = [], []
    for line in rounds_file.read_text().splitlines():
        if line.startswith("round "):
            clues.append(line.split(":", 1)[1].strip())
        elif line.startswith("    ") and line.strip():
            words += line.split()
    find = max(("FIND 7 " + c for c in clues), key=lambda t: s.width(3, t))
    frag = max((f for w in words for f in cuts(w)), key=lambda t: s.width(5, t))
    solved = max((f"7. {w}" for w in words), key=lambda t: s.width(2, t))
    hidden = max((f"7. {'?' * len(w)}" for w in words), key=lambda t: s.width(6, t))
    assembled = max(words, key=lambda t: s.width(2, t))
    print(f"rounds: widest FIND line {s.width(3, find)} px of 460 ({find!r})")
    print(f"rounds: widest fragment {s.width(5, frag)} px of 76 ({frag!r})")
    print(f"rounds: widest solved line {s.width(2, solved)} px of 310, hidden {s.width(6, hidden)} ({solved!r})")
    print(f"rounds: widest assembled word {s.width(2, assembled)} px of 243 ({assembled!r})")


def main():
    media, out = Path(sys.argv[1]), Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    shots = {"options": options(media), "information": information(media), "rounds": round_select(media),
             "banner": banner(media)}
    for b in range(1, 7):
        shots[f"play{b}"] = play(media, b, found=3 if b % 2 else 5)
    for name, s in shots.items():
        s.save(out / f"{name}.png")
    s = Screen(media)
    print("gold   '7. ' + 10 x W:", s.width(2, "7. WWWWWWWWWW"), " '7. STRAWBERRY':", s.width(2, "7. STRAWBERRY"))
    print("mauve  '7. ' + 10 x ?:", s.width(6, "7. ??????????"))
    print("gold   heading:", s.width(2, "CHOOSE A ROUND TO PLAY"), " GOODBYE:", s.width(2, "GOODBYE"))
    print("mint   'WWW':", s.width(5, "WWW"), " 'MMM':", s.width(5, "MMM"), " (tile is 84)")
    print("small  '50.':", s.width(1, "50."), " (27 before the marker)")
    print("small  longest information line:", s.width(1, "This relaxing diversion is free from any scores,"))
    rounds = Path(__file__).resolve().parent.parent / "content" / "rounds.txt"
    if rounds.exists():
        check_rounds(media, rounds)
    print("cyan   'FIND 7 ' + 40 letters:", s.width(3, "FIND 7 " + "things that give a gentle light in the"))


if __name__ == "__main__":
    main()

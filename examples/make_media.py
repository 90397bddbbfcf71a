#!/usr/bin/env python3
"""Makes the media of the example programs with the game's own generators in tools/media:
the drawing kit for pictures, the font drawer for bitmap fonts and the synthesiser for
sounds. The files are committed; run this again after changing it.

  media/small.png              the bitmap font every example prints with (DejaVu Sans, 14 px)
  hello/media/gem.png          the moving sprite, 64 by 64
  sound/media/tap.wav          a short wooden tap (the wall hits)
  sound/media/bell.wav         two quick bell notes
  sound/media/loop.ogg         a four-bar piece that loops without a seam
  packing/media/banner.png     the picture packed into the executable
  packing/media/gold.png       a bitmap font packed with it

Usage: examples/make_media.py   (the packages: tools/media/ensure-media-packages.sh)
"""

import subprocess
import sys
import tempfile
from pathlib import Path

import numpy as np
from PIL import Image

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "tools" / "media"))

from drawing import Canvas, font  # noqa: E402
import make_fonts  # noqa: E402
import make_sounds as snd  # noqa: E402


def gem():
    """A faceted round gem with a soft shadow and a highlight, on transparency."""
    c = Canvas(64, 64)
    body = c.mask_polygon([(32, 4), (56, 20), (56, 44), (32, 60), (8, 44), (8, 20)])
    c.shadow(body, opacity=0.45, blur=2.5, dy=2)
    c.paint_gradient(body, (120, 220, 255), (30, 70, 200), 4, 60)
    c.paint(c.mask_polygon([(32, 4), (56, 20), (32, 32), (8, 20)]), (255, 255, 255), 0.35)
    c.paint(c.mask_polygon([(32, 32), (56, 44), (32, 60)]), (10, 20, 80), 0.30)
    c.paint(c.mask_line([(32, 4), (32, 60)], 1.0), (255, 255, 255), 0.25)
    c.glow(22, 16, 6, (255, 255, 255), 0.8)
    return c.final()


def banner():
    """A wide rounded plate with a title: the picture the packing example loads."""
    c = Canvas(400, 96)
    plate = c.mask_rrect(4, 4, 392, 84, 18)
    c.shadow(plate, opacity=0.5, blur=4, dy=3)
    c.paint_gradient(plate, (92, 60, 140), (40, 24, 72), 4, 88)
    c.paint(c.mask_rrect(10, 10, 380, 34, 14), (255, 255, 255), 0.10)
    c.text("From inside the program", font("DejaVuSans-Bold.ttf", 26), 200, 46, (250, 236, 190),
           anchor="mm", shadow=0.6)
    return c.final()


def bitmap_font(name):
    """One of the game's fonts, by its file name in make_fonts.FONTS."""
    spec = next(f for f in make_fonts.FONTS if f[0] == name)
    return Image.fromarray(make_fonts.draw_font(spec), "RGBA")


def loop_music():
    """Four bars of pads, bass and bells, with the reverb folded round so the end runs
    into the start."""
    beat = 0.5
    bar = 4 * beat
    chords = [("C3", ["E3", "G3", "C4"]), ("A2", ["E3", "A3", "C4"]),
              ("F2", ["F3", "A3", "C4"]), ("G2", ["D3", "G3", "B3"])]
    melody = ["E5", "G5", "C6", "G5", "E5", "A5", "C6", "A5", "F5", "A5", "C6", "A5", "D5", "G5", "B5", "G5"]
    track = np.zeros(int(len(chords) * bar * snd.RATE))
    for i, (root, tones) in enumerate(chords):
        start = i * bar
        for n in tones:
            snd.place(track, snd.pad_voice(snd.note(n), bar) * 0.12, start)
        snd.place(track, snd.bass_voice(snd.note(root), bar) * 0.30, start)
        for k in range(4):
            snd.place(track, snd.bell(snd.note(melody[4 * i + k]), 1.0, decay=0.3, bright=0.15) * 0.25,
                      start + k * beat)
    wet = snd.reverb(track, 0.35, snd.room(1.2, seed=5), circular=True)
    return wet / np.max(np.abs(wet)) * 10 ** (-6 / 20)


def main():
    shared = HERE / "media"
    hello = HERE / "hello" / "media"
    sound = HERE / "sound" / "media"
    packing = HERE / "packing" / "media"
    for folder in (shared, hello, sound, packing):
        folder.mkdir(parents=True, exist_ok=True)

    bitmap_font("small.png").save(shared / "small.png", optimize=True)
    gem().save(hello / "gem.png", optimize=True)
    banner().save(packing / "banner.png", optimize=True)
    bitmap_font("gold.png").save(packing / "gold.png", optimize=True)

    snd.write_wav(sound / "tap.wav", snd.effect_pick())
    snd.write_wav(sound / "bell.wav", snd.effect_choose())
    with tempfile.TemporaryDirectory() as tmp:
        wav = Path(tmp) / "loop.wav"
        snd.write_wav(wav, loop_music())
        subprocess.run(["oggenc", "--quiet", "--quality", "3", "--serial", "1", "--output", str(sound / "loop.ogg"), str(wav)],
                       check=True)
    for f in sorted([*shared.iterdir(), *hello.iterdir(), *sound.iterdir(), *packing.iterdir()]):
        print(f"{f.relative_to(HERE)}: {f.stat().st_size} bytes")


if __name__ == "__main__":
    main()

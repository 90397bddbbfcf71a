#!/usr/bin/env python3
"""Synthesises the game's sound effects and its background music.

Everything is made from sine partials with soft envelopes and a small synthetic room
reverb: mallet and bell tones for the effects, and for the music a slow progression of
pad chords, a round bass and a bell arpeggio. The music is rendered over two passes of its
progression and the second pass is kept, so the reverb tails of the end run on into the
start and the loop has no seam.

Files: 1.wav .. 6.wav and music.wav, 16-bit PCM mono at 22050 Hz (plain RIFF with a
16-byte "fmt " chunk and a "data" chunk).

Usage: make_sounds.py OUTPUT_FOLDER
"""

import sys
import wave
from pathlib import Path

import numpy as np

RATE = 22050


def note(name):
    """Frequency of a note name such as "C4", "F#3" or "Bb5" (A4 = 440 Hz)."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    semis = steps[name[0]]
    rest = name[1:]
    if rest[0] in "#b":
        semis += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 440.0 * 2 ** ((semis + 12 * (int(rest) - 4)) / 12)


def times(seconds):
    return np.arange(int(seconds * RATE)) / RATE


def envelope(t, attack, decay):
    """A quick rise followed by an exponential fall with time constant decay."""
    rise = np.clip(t / max(attack, 1e-4), 0, 1)
    return rise * rise * (3 - 2 * rise) * np.exp(-np.maximum(t - attack, 0) / decay)


def mallet(freq, seconds, decay=0.25, bright=0.35):
    """A soft wooden mallet: the fundamental with the quick high partials of a bar."""
    t = times(seconds)
    tone = (np.sin(2 * np.pi * freq * t) * envelope(t, 0.003, decay)
            + bright * np.sin(2 * np.pi * freq * 3.93 * t) * envelope(t, 0.002, decay * 0.22)
            + 0.5 * bright * np.sin(2 * np.pi * freq * 9.2 * t) * envelope(t, 0.001, decay * 0.08))
    return tone


def bell(freq, seconds, decay=0.9, bright=0.3):
    """A gentle bell: a slightly inharmonic set of partials, the high ones dying first."""
    t = times(seconds)
    parts = [(1.0, 1.0, 1.0), (2.0, 0.35 * bright / 0.3, 0.55), (3.01, 0.22 * bright / 0.3, 0.35),
             (4.17, 0.10 * bright / 0.3, 0.22), (0.5, 0.12, 1.2)]
    out = np.zeros_like(t)
    for ratio, amp, life in parts:
        out += amp * np.sin(2 * np.pi * freq * ratio * t + ratio) * envelope(t, 0.004, decay * life)
    return out


def place(track, sound, at):
    start = int(at * RATE)
    end = min(len(track), start + len(sound))
    track[start:end] += sound[:end - start]


def room(seconds=1.6, seed=7):
    """Impulse response of a soft room: exponentially fading noise, darkened as it fades."""
    rng = np.random.default_rng(seed)
    t = times(seconds)
    ir = rng.standard_normal(len(t)) * np.exp(-t / (seconds / 6.5))
    # Darken: a running average whose length grows along the tail.
    smooth = np.convolve(ir, np.ones(5) / 5, mode="same")
    mix = np.clip(t / seconds * 2, 0, 1)
    ir = ir * (1 - mix) + smooth * mix
    ir[: int(0.012 * RATE)] = 0  # a short gap before the first reflections
    return ir / np.sqrt(np.sum(ir ** 2))


def reverb(dry, wet_level, ir, circular=False):
    n = len(dry) + len(ir) - 1
    size = 1 << (n - 1).bit_length()
    wet = np.fft.irfft(np.fft.rfft(dry, size) * np.fft.rfft(ir, size), size)[:n]
    if circular:
        # Fold the tail back onto the start: the signal is one turn of a loop.
        folded = wet[:len(dry)].copy()
        tail = wet[len(dry):]
        folded[:len(tail)] += tail
        wet = folded
    else:
        dry = np.concatenate([dry, np.zeros(n - len(dry))])
    return dry + wet_level * wet


def finish(signal, peak_db, fade_out=0.02):
    """Scales to the given peak level, cuts the tail where it falls below -60 dB and fades
    the last moment to silence, so an effect is no longer than it sounds."""
    signal = signal / np.max(np.abs(signal)) * 10 ** (peak_db / 20)
    loud = np.nonzero(np.abs(signal) > 10 ** (-60 / 20))[0]
    signal = signal[:loud[-1] + 1].copy()
    n = min(int(fade_out * RATE), len(signal))
    if n:
        signal[-n:] *= np.linspace(1, 0, n) ** 2
    return signal


def write_wav(path, signal):
    pcm = np.clip(np.rint(signal * 32767), -32768, 32767).astype("<i2")
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


# --- effects --------------------------------------------------------------------------------

def effect_pick():
    """A light wooden tap, high and short."""
    s = mallet(note("E6"), 0.16, decay=0.05, bright=0.25) + 0.3 * mallet(note("B6"), 0.16, decay=0.03, bright=0.1)
    return finish(reverb(s, 0.12, room(0.4)), -6)


def effect_nothing():
    """A soft, low double knock that says "nothing to do" without scolding."""
    s = np.zeros(int(0.32 * RATE))
    place(s, mallet(note("A3"), 0.2, decay=0.06, bright=0.15), 0.0)
    place(s, mallet(note("A3"), 0.2, decay=0.06, bright=0.15), 0.11)
    return finish(reverb(s, 0.10, room(0.4)), -7)


def effect_wrong():
    """Two falling mellow notes: the fragments slide back."""
    s = np.zeros(int(0.55 * RATE))
    place(s, mallet(note("E4"), 0.4, decay=0.14, bright=0.18), 0.0)
    place(s, mallet(note("B3"), 0.45, decay=0.18, bright=0.18), 0.13)
    return finish(reverb(s, 0.18, room(0.8)), -6)


def effect_word():
    """A rising bell arpeggio: a word falls into place."""
    s = np.zeros(int(1.3 * RATE))
    for i, n in enumerate(["C5", "E5", "G5", "C6"]):
        place(s, bell(note(n), 1.2 - i * 0.09, decay=0.5, bright=0.22) * (0.8 + 0.07 * i), i * 0.075)
    return finish(reverb(s, 0.25, room(1.2)), -5, fade_out=0.1)


def effect_round():
    """A warm chime cadence over a held chord: the round is complete."""
    s = np.zeros(int(3.0 * RATE))
    for i, n in enumerate(["G4", "C5", "E5", "G5", "C6", "E6"]):
        place(s, bell(note(n), 2.6 - i * 0.12, decay=1.1, bright=0.2) * (0.7 + 0.05 * i), i * 0.11)
    t = times(2.6)
    pad = sum(np.sin(2 * np.pi * note(n) * t) for n in ["C4", "E4", "G4", "C3"])
    pad *= np.clip(t / 0.3, 0, 1) * np.exp(-t / 0.9) * 0.18
    place(s, pad, 0.55)
    return finish(reverb(s, 0.3, room(1.6)), -4, fade_out=0.3)


def effect_choose():
    """Two quick bright notes going up: off we go."""
    s = np.zeros(int(0.7 * RATE))
    place(s, bell(note("G5"), 0.6, decay=0.28, bright=0.2), 0.0)
    place(s, bell(note("D6"), 0.6, decay=0.34, bright=0.2), 0.09)
    return finish(reverb(s, 0.2, room(0.9)), -6, fade_out=0.08)


# --- music ----------------------------------------------------------------------------------

BEAT = 0.75                    # 80 beats a minute
BAR = 4 * BEAT
CHORDS = [                     # one chord a bar; eight bars to the turn
    ("F2", ["F3", "A3", "C4", "E4"]),
    ("C3", ["E3", "G3", "C4", "D4"]),
    ("D2", ["F3", "A3", "C4", "E4"]),
    ("Bb2", ["F3", "A3", "D4", "F4"]),
    ("F2", ["F3", "A3", "C4", "G4"]),
    ("A2", ["E3", "A3", "C4", "E4"]),
    ("Bb2", ["F3", "Bb3", "D4", "F4"]),
    ("C3", ["E3", "G3", "Bb3", "D4"]),
]
# The bell line: per bar, eighth-note steps as (step, note) pairs; bars without a line rest.
MELODY = [
    [(0, "C5"), (3, "A4"), (4, "G4"), (6, "A4")],
    [(0, "G4"), (4, "E5"), (6, "D5")],
    [(0, "C5"), (2, "A4"), (4, "F5"), (6, "E5")],
    [(0, "D5"), (4, "F4"), (6, "A4")],
    [(0, "C5"), (3, "F5"), (4, "E5"), (6, "C5")],
    [(0, "E5"), (2, "C5"), (4, "A4")],
    [(0, "Bb4"), (3, "D5"), (4, "F5"), (6, "D5")],
    [(0, "E5"), (4, "D5"), (6, "G4")],
]


def pad_voice(freq, seconds):
    """A slow, warm pad note: two slightly detuned sines with a soft second harmonic."""
    t = times(seconds)
    rise = np.clip(t / 0.9, 0, 1)
    fall = np.clip((seconds - t) / 1.2, 0, 1)
    shape = np.sin(rise * np.pi / 2) ** 2 * np.sin(fall * np.pi / 2) ** 2
    wobble = 0.0025 * np.sin(2 * np.pi * 0.23 * t)
    tone = (np.sin(2 * np.pi * freq * (1 + wobble) * t) + np.sin(2 * np.pi * freq * 1.004 * t + 1.3)
            + 0.2 * np.sin(2 * np.pi * freq * 2.002 * t))
    return tone * shape


def bass_voice(freq, seconds):
    t = times(seconds)
    shape = np.clip(t / 0.05, 0, 1) * np.exp(-t / 1.6) * np.clip((seconds - t) / 0.3, 0, 1)
    return (np.sin(2 * np.pi * freq * t) + 0.15 * np.sin(2 * np.pi * 2 * freq * t)) * shape


def music():
    turn = len(CHORDS) * BAR
    passes = 2
    total = np.zeros(int((turn * passes + 4) * RATE))
    pads = np.zeros_like(total)
    bells = np.zeros_like(total)
    for p in range(passes):
        for i, (root, tones) in enumerate(CHORDS):
            start = p * turn + i * BAR
            for n in tones:
                # Pads overlap the next bar a little so the chords melt into each other.
                place(pads, pad_voice(note(n), BAR + 1.0) * 0.13, start - 0.3 if start > 0.3 else start)
            place(total, bass_voice(note(root), BAR) * 0.30, start)
            place(total, bass_voice(note(root) * 1.5, BEAT * 2) * 0.08, start + 2 * BEAT)
            for step, n in MELODY[i]:
                place(bells, bell(note(n), 2.4, decay=0.75, bright=0.16) * 0.45, start + step * BEAT / 2)
            # A quiet broken-chord ripple under the bells on the off beats.
            for k, n in enumerate(tones):
                place(bells, bell(note(n) * 2, 1.2, decay=0.4, bright=0.08) * 0.07, start + BEAT * (0.5 + k))
    mixed = total + lowpass_fast(pads, 1800) + bells
    wet = reverb(mixed, 0.45, room(2.4, seed=11))
    loop = wet[int(turn * RATE):int(2 * turn * RATE)]
    return loop / np.max(np.abs(loop)) * 10 ** (-5 / 20)


def lowpass_fast(signal, cutoff):
    """Low-pass by a windowed-sinc FIR, applied with the FFT."""
    n = 101
    k = np.arange(n) - (n - 1) / 2
    h = np.sinc(2 * cutoff / RATE * k) * np.hamming(n)
    h /= h.sum()
    return np.convolve(signal, h, mode="same")


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    effects = [effect_pick, effect_nothing, effect_wrong, effect_word, effect_round, effect_choose]
    for i, make in enumerate(effects, start=1):
        write_wav(out / f"{i}.wav", make())
    write_wav(out / "music.wav", music())


if __name__ == "__main__":
    main()

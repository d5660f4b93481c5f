#!/usr/bin/env python3
"""Writes data/harptune.wav, the alarm played when mail is waiting: a rising arpeggio of
plucked tones (decaying sines with one overtone), 16-bit mono PCM, which QSoundEffect plays
everywhere. Run it again only to change the tune; the result is committed."""
import math
import struct
import sys
import wave

RATE = 22050
NOTES = [523.25, 659.25, 783.99, 1046.50, 783.99, 1046.50]  # C5 E5 G5 C6 G5 C6
STEP = 0.16      # seconds between note starts
RING = 0.9       # how long each note sounds
LENGTH = STEP * (len(NOTES) - 1) + RING

def main(path):
    samples = [0.0] * int(LENGTH * RATE)
    for i, freq in enumerate(NOTES):
        start = int(i * STEP * RATE)
        for n in range(int(RING * RATE)):
            t = n / RATE
            env = math.exp(-4.5 * t) * min(1.0, t / 0.004)
            v = math.sin(2 * math.pi * freq * t) + 0.3 * math.sin(4 * math.pi * freq * t)
            samples[start + n] += 0.28 * env * v
    peak = max(abs(s) for s in samples) or 1.0
    frames = b"".join(struct.pack("<h", int(32000 * s / peak)) for s in samples)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)

if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "harptune.wav")

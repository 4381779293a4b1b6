#!/usr/bin/env python3
"""Synthesises the program's sounds into resources/sounds (16-bit mono WAV).

ringtone.wav: a soft two-note chime, twice, with a pause, for calls that ring.
speaker.wav: a short rising three-note phrase to test the loudspeaker.
"""
import math
import os
import struct
import wave

RATE = 16000


def note(freq, seconds, volume=0.35):
    count = int(RATE * seconds)
    samples = []
    for i in range(count):
        t = i / RATE
        # Soft attack and exponential decay, with a quiet octave for warmth.
        envelope = min(1.0, t / 0.01) * math.exp(-3.0 * t / seconds)
        value = math.sin(2 * math.pi * freq * t) + 0.25 * math.sin(4 * math.pi * freq * t)
        samples.append(volume * envelope * value / 1.25)
    return samples


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def write(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(max(-1, min(1, s)) * 32767)) for s in samples))


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "sounds")
    os.makedirs(folder, exist_ok=True)
    chime = note(659.25, 0.45) + note(523.25, 0.7)
    write(os.path.join(folder, "ringtone.wav"), chime + silence(0.25) + chime + silence(1.2))
    write(os.path.join(folder, "speaker.wav"), note(523.25, 0.35) + note(659.25, 0.35) + note(783.99, 0.8))


if __name__ == "__main__":
    main()

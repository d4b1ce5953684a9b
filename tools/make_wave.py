#!/usr/bin/env python3
"""Synthesises the test call's sound (WAVE resource 102): ten seconds of
16-bit mono PCM at 8000 Hz. A short tune of soft-edged tones with pauses, so
an echo of it is easy to recognise by ear and by its spectrum."""
import math
import struct
import sys

RATE = 8000
SECONDS = 10


def main():
    notes = [523.25, 659.25, 783.99, 1046.5, 783.99, 659.25]  # C E G C G E
    samples = []
    step = 0.5            # one note a half second: 0.35 s tone, 0.15 s pause
    tone = 0.35
    for n in range(RATE * SECONDS):
        t = n / RATE
        slot = int(t / step)
        within = t - slot * step
        value = 0.0
        if within < tone:
            f = notes[slot % len(notes)]
            edge = min(within, tone - within, 0.03) / 0.03   # 30 ms ramps, no clicks
            value = 0.45 * edge * (math.sin(2 * math.pi * f * t) + 0.25 * math.sin(4 * math.pi * f * t)) / 1.25
        samples.append(int(max(-1.0, min(1.0, value)) * 32767))
    data = struct.pack('<%dh' % len(samples), *samples)
    fmt = struct.pack('<HHIIHH', 1, 1, RATE, RATE * 2, 2, 16)
    riff = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(data)) + data
    with open(sys.argv[1], 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(riff)) + riff)


if __name__ == '__main__':
    main()

#!/usr/bin/env python3
"""Writes course/muzyka/melodiya.mid: a calm 20-second tune in C major.

A type 0 standard MIDI file: piano melody on channel 0 over soft string
chords on channel 1, 96 beats per minute, 8 bars of 4/4.
Only the standard library is used, so the file can be rebuilt anywhere.
"""
import struct
from pathlib import Path

PPQ = 480              # ticks per quarter note
BPM = 96

# (MIDI note or None for a rest, length in beats); C5 = 72.
MELODY = [
    (76, 1), (74, 1), (72, 1), (76, 1),      # C
    (81, 2), (79, 1), (76, 1),               # Am
    (77, 1), (76, 1), (74, 1), (72, 1),      # F
    (74, 3), (67, 1),                        # G
    (76, 1), (79, 1), (84, 1), (79, 1),      # C
    (81, 1), (79, 1), (76, 2),               # Am
    (77, 1), (81, 1), (79, 1), (74, 1),      # F  G
    (72, 4),                                 # C
]

# (chord notes, length in beats)
CHORDS = [
    ((48, 52, 55), 4), ((45, 48, 52), 4), ((41, 45, 48), 4), ((43, 47, 50), 4),
    ((48, 52, 55), 4), ((45, 48, 52), 4), ((41, 45, 48), 2), ((43, 47, 50), 2),
    ((36, 48, 52, 55), 4),
]


def vlq(value: int) -> bytes:
    """Variable-length quantity used for delta times."""
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def notes(seq, channel, velocity, legato=0.95):
    """Yields (tick, priority, message); note-offs sort before note-ons."""
    tick = 0
    for pitches, beats in seq:
        length = int(beats * PPQ)
        if pitches is not None:
            if isinstance(pitches, int):
                pitches = (pitches,)
            for p in pitches:
                yield tick, 1, bytes([0x90 | channel, p, velocity])
                yield tick + int(length * legato), 0, bytes([0x80 | channel, p, 0])
        tick += length


def build() -> bytes:
    meta = [
        (0, 0, b"\xff\x03" + vlq(len(b"Melodiya")) + b"Melodiya"),
        (0, 0, b"\xff\x51\x03" + struct.pack(">I", 60_000_000 // BPM)[1:]),
        (0, 0, b"\xff\x58\x04\x04\x02\x18\x08"),
        (0, 0, bytes([0xC0, 0])),    # channel 0: acoustic grand piano
        (0, 0, bytes([0xC1, 48])),   # channel 1: string ensemble
        (0, 0, bytes([0xB1, 7, 70])),  # keep the strings quiet
    ]
    events = meta + list(notes(MELODY, 0, 84)) + list(notes(CHORDS, 1, 52, legato=1.0))
    events.sort(key=lambda e: (e[0], e[1]))
    track = bytearray()
    last = 0
    for tick, _, msg in events:
        track += vlq(tick - last) + msg
        last = tick
    track += vlq(PPQ // 2) + b"\xff\x2f\x00"   # a short tail before the end
    header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, PPQ)
    return header + b"MTrk" + struct.pack(">I", len(track)) + bytes(track)


def main() -> None:
    out = Path(__file__).resolve().parent.parent / "course" / "muzyka" / "melodiya.mid"
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_bytes(build())
    beats = sum(b for _, b in MELODY)
    print(f"{out}: {beats} beats, {beats * 60 / BPM:.1f} s")


if __name__ == "__main__":
    main()

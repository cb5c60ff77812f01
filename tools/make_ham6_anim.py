#!/usr/bin/env python3
"""Writes tests/data/anim/ham6_cmaps.anim and its .idx: an IFF ANIM of HAM6
frames, each delta frame with operation 5 and a CMAP of its own.

The first FORM ILBM holds BMHD, CMAP, CAMG (HAM) and a raw BODY; every later
FORM ILBM holds an ANHD (operation 5, interleave 0: the delta changes the
frame two back), its own CMAP and a DLTA. A frame moves a block of new pixel
values across the picture, so every delta has columns skipped, runs of one
value and literal bytes, and planes that do not change at all. The .idx
holds every frame's pixel values (6 bits, control bits included), one byte a
pixel, rows from the top, frame after frame.

    tools/make_ham6_anim.py tests/data/anim/ham6_cmaps
"""
import random
import struct
import sys

WIDTH, HEIGHT, PLANES, FRAMES, RELTIME = 64, 24, 6, 10, 2
ROW_BYTES = (WIDTH + 15) // 16 * 2


def chunk(name, data):
    return name + struct.pack(">I", len(data)) + data + (b"\0" if len(data) % 2 else b"")


def plane_rows(pixels, plane):
    """The plane's bytes as rows[y][column]."""
    rows = []
    for y in range(HEIGHT):
        row = bytearray(ROW_BYTES)
        for x in range(WIDTH):
            if pixels[y * WIDTH + x] >> plane & 1:
                row[x // 8] |= 0x80 >> (x % 8)
        rows.append(row)
    return rows


def encode_column(new, old):
    """Operation 5 ops of one byte column: skip, same-value run, literal."""
    ops, i = [], 0
    while i < HEIGHT:
        j = i
        while j < HEIGHT and new[j] == old[j] and j - i < 127:
            j += 1
        if j > i:
            ops.append(bytes([j - i]))
            i = j
            continue
        while j < HEIGHT and new[j] == new[i] and j - i < 255:
            j += 1
        if j - i >= 3:
            ops.append(bytes([0, j - i, new[i]]))
            i = j
            continue
        j = i
        while j < HEIGHT and j - i < 127 and new[j] != old[j] and new[j:j + 3].count(new[j]) < 3:
            j += 1
        j = max(j, i + 1)
        ops.append(bytes([0x80 | (j - i)]) + bytes(new[i:j]))
        i = j
    return bytes([len(ops)]) + b"".join(ops)


def dlta(new, old):
    pointers, data = [0] * 16, b""
    for plane in range(PLANES):
        new_rows, old_rows = plane_rows(new, plane), plane_rows(old, plane)
        if new_rows == old_rows:
            continue  # pointer 0: the plane stays as it is
        pointers[plane] = 64 + len(data)
        for c in range(ROW_BYTES):
            data += encode_column([r[c] for r in new_rows], [r[c] for r in old_rows])
    return struct.pack(">16I", *pointers) + data


def cmap(rng):
    return bytes(rng.randrange(256) for _ in range(16 * 3))


def main():
    out = sys.argv[1]
    rng = random.Random(2026)
    frames = [[rng.randrange(64) for _ in range(WIDTH * HEIGHT)]]
    for f in range(1, FRAMES):
        pixels = list(frames[-1])
        x0, y0 = (f * 6) % (WIDTH - 12), (f * 2) % (HEIGHT - 8)
        value = rng.randrange(64)
        for y in range(y0, y0 + 8):
            for x in range(x0, x0 + 12):
                # A run of one value down most columns, literal bytes in others.
                pixels[y * WIDTH + x] = value if x % 3 else rng.randrange(64)
        frames.append(pixels)

    body = b"".join(bytes(r) for y in range(HEIGHT) for r in [plane_rows(frames[0], p)[y] for p in range(PLANES)])
    bmhd = struct.pack(">HHhhBBBBHBBhh", WIDTH, HEIGHT, 0, 0, PLANES, 0, 0, 0, 0, 10, 11, WIDTH, HEIGHT)
    forms = [b"ILBM" + chunk(b"BMHD", bmhd) + chunk(b"CMAP", cmap(rng)) + chunk(b"CAMG", struct.pack(">I", 0x800)) +
             chunk(b"BODY", body)]
    for f in range(1, FRAMES):
        anhd = struct.pack(">BBHHhhIIBBI16x", 5, 0, WIDTH, HEIGHT, 0, 0, 0, RELTIME, 0, 0, 0)
        forms.append(b"ILBM" + chunk(b"ANHD", anhd) + chunk(b"CMAP", cmap(rng)) +
                     chunk(b"DLTA", dlta(frames[f], frames[max(0, f - 2)])))
    anim = b"ANIM" + b"".join(chunk(b"FORM", form) for form in forms)
    with open(out + ".anim", "wb") as f:
        f.write(chunk(b"FORM", anim))
    with open(out + ".idx", "wb") as f:
        f.write(b"".join(bytes(frame) for frame in frames))


if __name__ == "__main__":
    main()

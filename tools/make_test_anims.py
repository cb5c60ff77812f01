#!/usr/bin/env python3
"""Makes the IFF ANIM files of the delta operation tests and benchmark.

    tools/make_test_anims.py tests    writes tests/data/anim/ops_*.anim, the
                                      .idx frames they were made from, the
                                      broken_*.anim rows and tests/data/anim_ops.tsv
    tools/make_test_anims.py bench DIR [FRAMES]
                                      writes one 320 x 256 animation per
                                      operation into DIR (default 120 frames)

Every animation is blocks of colour moving over a striped picture; a frame
is a delta against the frame two back (interleave 0) or one back
(interleave 1). An .idx file holds the palette indices of every frame, one
byte a pixel, rows from the top, frame after frame. Standard library only.
"""
import os
import random
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def word(v):
    return struct.pack('>H', v & 0xFFFF)


def long(v):
    return struct.pack('>I', v & 0xFFFFFFFF)


def chunk(cid, data):
    return cid + long(len(data)) + data + (b'\0' if len(data) & 1 else b'')


def form(kind, chunks):
    body = kind + b''.join(chunks)
    return b'FORM' + long(len(body)) + body


class Layout:
    def __init__(self, width, height, planes):
        self.width, self.height, self.planes = width, height, planes
        self.row_bytes = 2 * ((width + 15) // 16)
        self.byte_row = (width + 7) // 8  # rows of the J, d, e and l offsets


def moving_blocks(lay, count, seed):
    """count frames of palette indices: stripes, and blocks that move."""
    rnd = random.Random(seed)
    colours = 1 << lay.planes
    blocks = [[rnd.randrange(lay.width), rnd.randrange(lay.height), rnd.randrange(1, 9), rnd.randrange(1, 7),
               rnd.choice((-3, -1, 1, 2, 5)), rnd.choice((-2, -1, 1, 3)), rnd.randrange(colours)] for _ in range(4)]
    stripes = bytes((x // 3 + y // 5) % colours for y in range(lay.height) for x in range(lay.width))
    frames = []
    for _ in range(count):
        pic = bytearray(stripes)
        for b in blocks:
            right = min(lay.width, b[0] + b[2])
            for y in range(b[1], min(lay.height, b[1] + b[3])):
                pic[y * lay.width + b[0]:y * lay.width + right] = bytes([b[6]]) * (right - b[0])
            b[0] = (b[0] + b[4]) % lay.width
            b[1] = (b[1] + b[5]) % lay.height
        frames.append(bytes(pic))
    return frames


def to_planes(lay, pic):
    planes = [bytearray() for _ in range(lay.planes)]
    pad = b'0' * (8 * lay.row_bytes - lay.width)
    # Each plane's bit of every index as the characters 0 and 1.
    bits = [bytes(b'01'[i >> p & 1] for i in range(256)) for p in range(lay.planes)]
    for y in range(lay.height):
        row = pic[y * lay.width:(y + 1) * lay.width]
        for p in range(lay.planes):
            planes[p] += int(row.translate(bits[p]) + pad, 2).to_bytes(lay.row_bytes, 'big')
    return planes


def first_frame(lay, planes, camg=0):
    body = b''.join(planes[p][y * lay.row_bytes:(y + 1) * lay.row_bytes]
                    for y in range(lay.height) for p in range(lay.planes))
    bmhd = struct.pack('>HHhhBBBBHBBhh', lay.width, lay.height, 0, 0, lay.planes, 0, 0, 0, 0, 1, 1, lay.width,
                       lay.height)
    rnd = random.Random(lay.planes)
    cmap = bytes(rnd.randrange(256) for _ in range(3 << lay.planes))
    extra = [chunk(b'CAMG', long(camg))] if camg else []
    return form(b'ILBM', [chunk(b'BMHD', bmhd), chunk(b'CMAP', cmap)] + extra + [chunk(b'BODY', body)])


def anhd(op, interleave, bits, reltime=2):
    return chunk(b'ANHD', struct.pack('>BBHHhhIIBBI', op, 0, 0, 0, 0, 0, 0, reltime, interleave, 0, bits) +
                 bytes(16))


def items(plane, size, lay):
    """The plane as big-endian items of `size` bytes."""
    return [int.from_bytes(plane[i:i + size], 'big') for i in range(0, len(plane) - size + 1, size)]


# ---- The encoders: (old planes, new planes, layout) -> DLTA data ----

def offset_delta(old, new, lay, size):
    """Operations 2 (size 4) and 3 (size 2)."""
    table, lists = [0] * 8, b''
    for p in range(lay.planes):
        a, b = items(old[p], size, lay), items(new[p], size, lay)
        changed = [i for i in range(len(b)) if a[i] != b[i]]
        if not changed:
            continue
        out, pos, k = b'', 0, 0
        while k < len(changed):
            run = 1
            while k + run < len(changed) and changed[k + run] == changed[k] + run:
                run += 1
            first = changed[k]
            if run >= 2 and first - pos - 1 >= 0:
                out += word(-(first - pos - 1) - 2) + word(run) + b''.join(
                    b[first + i].to_bytes(size, 'big') for i in range(run))
                pos = first + run - 1
            else:
                run = 1
                out += word(first - pos) + b[first].to_bytes(size, 'big')
                pos = first
            k += run
        table[p] = 32 + len(lists)
        lists += out + word(0xFFFF)
    return b''.join(long(t) for t in table) + lists


def column_ops(before, after, max_run, unique_bit):
    """Vertical ops of one column: (count, [(kind, ...)])."""
    ops, y, n = [], 0, len(after)
    while y < n:
        run = 0
        while y + run < n and run < max_run and before[y + run] == after[y + run]:
            run += 1
        if run:
            if y + run < n:
                ops.append(('skip', run))
        else:
            while y + run < n and run < max_run and after[y + run] == after[y]:
                run += 1
            if run >= 3:
                ops.append(('same', run, after[y]))
            else:
                run = 0
                while y + run < n and run < max_run and before[y + run] != after[y + run]:
                    run += 1
                ops.append(('unique', after[y:y + run]))
        y += run
    return ops


def byte_vertical_xor(old, new, lay):
    """Operation 5 with XOR values (ANHD bits 2)."""
    table, lists = [0] * 16, b''
    for p in range(lay.planes):
        out, any_change = b'', False
        for x in range(lay.row_bytes):
            col = [old[p][y * lay.row_bytes + x] ^ new[p][y * lay.row_bytes + x] for y in range(lay.height)]
            ops = column_ops([0] * lay.height, col, 127, 0x80)
            out += bytes([len(ops)])
            for op in ops:
                any_change = True
                if op[0] == 'skip':
                    out += bytes([op[1]])
                elif op[0] == 'same':
                    out += bytes([0, op[1], op[2]])
                else:
                    out += bytes([0x80 | len(op[1])]) + bytes(op[1])
        if any_change:
            table[p] = 64 + len(lists)
            lists += out
    return b''.join(long(t) for t in table) + lists


def sculpt_delta(old, new, lay, xor, frame):
    """Operation J: strips of kind 1 on even frames, rows of kind 2 on odd ones."""
    screen = lay.width < 320 and (320 - lay.width) // 16 > 0

    def offset(row, col):
        return row * 40 + col + (320 - lay.width) // 16 if screen else row * lay.byte_row + col

    def value(p, row, col):
        v = new[p][row * lay.row_bytes + col]
        return v ^ old[p][row * lay.row_bytes + col] if xor else v

    def differs(row, col):
        return any(old[p][row * lay.row_bytes + col] != new[p][row * lay.row_bytes + col] for p in range(lay.planes))

    groups = {}  # (rows, bytes) -> [(row, col)]
    if frame % 2 == 0:
        for col in range(lay.byte_row):
            row = 0
            while row < lay.height:
                run = 0
                while row + run < lay.height and differs(row + run, col):
                    run += 1
                if run:
                    groups.setdefault((run, 1), []).append((row, col))
                row += run or 1
    else:
        for row in range(lay.height):
            col = 0
            while col < lay.byte_row:
                run = 0
                while col + run < lay.byte_row and differs(row, col + run):
                    run += 1
                if run:
                    groups.setdefault((1, run), []).append((row, col))
                col += run or 1
    out = b''
    for (rows, width), places in sorted(groups.items()):
        kind = 1 if frame % 2 == 0 else 2
        out += word(kind) + word(1 if xor else 0) + word(rows) + (word(width) if kind == 2 else b'') + word(len(places))
        for row, col in places:
            data = bytes(value(p, row + r, col + c) for r in range(rows) for p in range(lay.planes)
                         for c in range(width))
            out += word(offset(row, col)) + data + (b'\0' if len(data) & 1 else b'')
    return out + word(0)


def scala_delta(old, new, lay, size):
    """Operations d (size 4) and e (size 2)."""
    columns = list(range(0, lay.row_bytes - size + 1, size))
    if lay.row_bytes % size:
        columns.append(lay.row_bytes - size)
    table, lists = [0] * lay.planes, b''
    for p in range(lay.planes):
        entries = []
        for col in columns:
            a = [int.from_bytes(old[p][y * lay.row_bytes + col:][:size], 'big') for y in range(lay.height)]
            b = [int.from_bytes(new[p][y * lay.row_bytes + col:][:size], 'big') for y in range(lay.height)]
            y = 0
            while y < lay.height:
                if a[y] == b[y]:
                    y += 1
                    continue
                run = 1
                while y + run < lay.height and a[y + run] != b[y + run]:
                    run += 1
                at = long(y * lay.byte_row + col)
                if run >= 2 and all(v == b[y] for v in b[y:y + run]):
                    entries.append(struct.pack('>i' if size == 4 else '>h', run) + at + b[y].to_bytes(size, 'big'))
                else:
                    entries.append(struct.pack('>i' if size == 4 else '>h', -run) + at +
                                   b''.join(v.to_bytes(size, 'big') for v in b[y:y + run]))
                y += run
        if entries:
            table[p] = 4 * lay.planes + len(lists)
            lists += len(entries).to_bytes(size, 'big') + b''.join(entries)
    return b''.join(long(t) for t in table) + lists


def word_list_delta(old, new, lay, horizontal):
    """Operation l: vertical (ANHD bit 0 clear) or horizontal runs of words."""
    table, lists = [0] * 16, b''
    for p in range(lay.planes):
        a, b = items(old[p], 2, lay), items(new[p], 2, lay)
        words_in_row = lay.row_bytes // 2
        runs = []  # (first item, step, values)
        if horizontal:
            for row in range(lay.height):
                c = 0
                while c < words_in_row:
                    i = row * words_in_row + c
                    run = 0
                    while c + run < words_in_row and a[i + run] != b[i + run]:
                        run += 1
                    if run:
                        runs.append((row, c, b[i:i + run]))
                    c += run or 1
        else:
            for c in range(words_in_row):
                row = 0
                while row < lay.height:
                    run = 0
                    while row + run < lay.height and a[(row + run) * words_in_row + c] != b[(row + run) *
                                                                                           words_in_row + c]:
                        run += 1
                    if run:
                        runs.append((row, c, [b[(row + r) * words_in_row + c] for r in range(run)]))
                    row += run or 1
        if not runs:
            continue
        data, offsets = b'', b''
        for row, c, values in runs:
            offsets += word((row * lay.byte_row + 2 * c) // 2)
            if len(values) >= 2 and all(v == values[0] for v in values):
                offsets += word(-len(values))
                data += word(values[0])
            else:
                offsets += word(len(values))
                data += b''.join(word(v) for v in values)
        offsets += word(0xFFFF)
        table[p] = (64 + len(lists)) // 2
        lists += data
        table[p + 8] = (64 + len(lists)) // 2
        lists += offsets
    return b''.join(long(t) for t in table) + lists


OPS = {
    '2': (2, lambda o, n, lay, row: offset_delta(o, n, lay, 4)),
    '3': (3, lambda o, n, lay, row: offset_delta(o, n, lay, 2)),
    '5x': (5, lambda o, n, lay, row: byte_vertical_xor(o, n, lay)),
    'J': (ord('J'), lambda o, n, lay, row: sculpt_delta(o, n, lay, False, row)),
    'Jx': (ord('J'), lambda o, n, lay, row: sculpt_delta(o, n, lay, True, row)),
    'd': (ord('d'), lambda o, n, lay, row: scala_delta(o, n, lay, 4)),
    'e': (ord('e'), lambda o, n, lay, row: scala_delta(o, n, lay, 2)),
    'lv': (ord('l'), lambda o, n, lay, row: word_list_delta(o, n, lay, False)),
    'lh': (ord('l'), lambda o, n, lay, row: word_list_delta(o, n, lay, True)),
}
# ANHD bits each kind sets: 5x XOR, lh bit 0 (horizontal).
BITS = {'5x': 2, 'lh': 1}


def encode(kind, lay, frames, interleave=0, bits_extra=0, camg=0):
    op, encoder = OPS[kind]
    planes = [to_planes(lay, f) for f in frames]
    forms = [first_frame(lay, planes[0], camg)]
    for f in range(1, len(frames)):
        back = 2 if interleave == 0 else interleave
        base = planes[max(0, f - back)]
        dlta = encoder(base, planes[f], lay, f)
        forms.append(form(b'ILBM', [anhd(op, interleave, BITS.get(kind, 0) | bits_extra), chunk(b'DLTA', dlta)]))
    return form(b'ANIM', forms)


# name, kind, width, height, planes, interleave, extra ANHD bits, ffmpeg plays it
ROWS = [
    ('op3_48x20x3', '3', 48, 20, 3, 0, 0, True),
    ('op3_33x17x2', '3', 33, 17, 2, 0, 0, True),
    ('op3_64x16x8', '3', 64, 16, 8, 0, 0, True),
    ('op3_40x12x4_i1', '3', 40, 12, 4, 1, 0, False),
    ('op2_64x20x4', '2', 64, 20, 4, 0, 0, False),
    ('op2_48x10x3_i1', '2', 48, 10, 3, 1, 0, False),
    ('op5x_40x20x3_i1', '5x', 40, 20, 3, 1, 0, True),
    ('opJ_320x12x2', 'J', 320, 12, 2, 0, 0, True),
    ('opJx_100x16x3', 'Jx', 100, 16, 3, 0, 0, True),
    ('opJx_33x10x4_i1', 'Jx', 33, 10, 4, 1, 0, False),
    ('opd_48x20x3', 'd', 48, 20, 3, 0, 0, True),
    ('opd_40x15x2', 'd', 40, 15, 2, 0, 0, True),
    ('opd_48x20x3_lace', 'd', 48, 20, 3, 0, 0x40, False),
    ('ope_33x17x4', 'e', 33, 17, 4, 0, 0, True),
    ('ope_64x12x5_i1', 'e', 64, 12, 5, 1, 0, False),
    ('oplv_48x20x3', 'lv', 48, 20, 3, 0, 0, True),
    ('oplv_28x14x2', 'lv', 28, 14, 2, 0, 0, True),
    ('oplh_44x16x2', 'lh', 44, 16, 2, 0, 0, True),
    ('oplh_64x10x6_i1', 'lh', 64, 10, 6, 1, 0, False),
]
FRAMES = 6


def broken_delta(kind, lay):
    """A DLTA of `kind` that writes past the end of a plane of `lay`."""
    if kind in ('2', '3'):
        size = 4 if kind == '2' else 2
        return long(32) + bytes(28) + word(0x7FFF) + bytes(size) + word(0xFFFF)
    if kind == 'J':
        return word(1) + word(0) + word(lay.height + 4) + word(1) + word(0) + bytes((lay.height + 4) * lay.planes) + word(0)
    if kind in ('d', 'e'):
        size = 4 if kind == 'd' else 2
        return (long(4 * lay.planes) + bytes(4 * lay.planes - 4) + (1).to_bytes(size, 'big') +
                (lay.height + 1).to_bytes(size, 'big') + long(0) + bytes(size))
    # l: one word written down more rows than the plane has.
    return long(32) + bytes(28) + long(33) + bytes(28) + word(0xABCD) + word(0) + word(-(lay.height + 1)) + word(0xFFFF)


def write_tests():
    data = os.path.join(ROOT, 'tests', 'data')
    table = ['# name\tsource frames\tframes\tffmpeg plays it']
    for name, kind, w, h, planes, interleave, bits, ffmpeg in ROWS:
        lay = Layout(w, h, planes)
        seed = w * 1000 + h * 10 + planes
        frames = moving_blocks(lay, FRAMES, seed)
        source = 'anim/src_%dx%dx%d.idx' % (w, h, planes)
        with open(os.path.join(data, source), 'wb') as f:
            f.write(b''.join(frames))
        with open(os.path.join(data, 'anim', 'ops_%s.anim' % name), 'wb') as f:
            f.write(encode(kind, lay, frames, interleave, bits))
        table.append('anim/ops_%s\t%s\t%d\t%s' % (name, source, FRAMES, 'yes' if ffmpeg else 'no'))
    with open(os.path.join(data, 'anim_ops.tsv'), 'w') as f:
        f.write('\n'.join(table) + '\n')
    # Broken rows: for each operation, frame 3 with a DLTA cut 5 bytes short
    # (a read past the chunk), frame 3 writing past the plane, and the file
    # cut inside its last frame.
    lay = Layout(32, 8, 2)
    frames = moving_blocks(lay, 4, 7)
    for kind in ('2', '3', 'J', 'd', 'e', 'l'):
        name = {'l': 'lv'}.get(kind, kind)
        op = OPS[name][0]
        whole = encode(name, lay, frames)
        with open(os.path.join(data, 'anim', 'broken_%s_cut.anim' % kind), 'wb') as f:
            f.write(whole[:-10])
        forms = [first_frame(lay, to_planes(lay, frames[0]))]
        planes = [to_planes(lay, f) for f in frames]
        forms.append(form(b'ILBM', [anhd(op, 0, 0), chunk(b'DLTA', OPS[name][1](planes[0], planes[1], lay, 1))]))
        past_chunk = OPS[name][1](planes[0], planes[2], lay, 2)[:-5]
        with open(os.path.join(data, 'anim', 'broken_%s_past_chunk.anim' % kind), 'wb') as f:
            f.write(form(b'ANIM', forms + [form(b'ILBM', [anhd(op, 0, 0), chunk(b'DLTA', past_chunk)])]))
        with open(os.path.join(data, 'anim', 'broken_%s_past_plane.anim' % kind), 'wb') as f:
            f.write(form(b'ANIM', forms + [form(b'ILBM', [anhd(op, 0, 0), chunk(b'DLTA', broken_delta(kind, lay))])]))


def write_bench(folder, count):
    lay = Layout(320, 256, 5)
    frames = moving_blocks(lay, count, 320)
    os.makedirs(folder, exist_ok=True)
    for kind in ('3', '5x', 'J', 'd', 'e', 'lv'):
        with open(os.path.join(folder, 'bench_%s.anim' % kind), 'wb') as f:
            # ffmpeg plays XOR op 5 one back, whatever the interleave says.
            f.write(encode(kind, lay, frames, 1 if kind == '5x' else 0))


if __name__ == '__main__':
    if len(sys.argv) >= 2 and sys.argv[1] == 'tests':
        write_tests()
    elif len(sys.argv) >= 3 and sys.argv[1] == 'bench':
        write_bench(sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 120)
    else:
        sys.exit(__doc__)

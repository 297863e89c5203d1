"""The width a text has in a font's own design: the sum of its characters'
advance widths (hmtx) scaled to the size, no kerning, read straight from the
TrueType file that fontconfig names for the family. What a device measures
must come out at this width; it is what lays text out on every device."""

import functools
import struct
import subprocess


@functools.lru_cache(maxsize=None)
def font_file(family, bold, italic):
    pattern = family + (":weight=bold" if bold else "") + (":slant=italic" if italic else "")
    return subprocess.run(["fc-match", "-f", "%{file}", pattern], capture_output=True, text=True,
                          check=True).stdout


@functools.lru_cache(maxsize=None)
def _metrics(path):
    """(units per em, advances by glyph, glyph by code point) of a TrueType file."""
    with open(path, "rb") as f:
        data = f.read()
    tables = {}
    for i in range(struct.unpack(">H", data[4:6])[0]):
        tag, _, offset, length = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
        tables[tag.decode("latin-1")] = offset
    head, hhea, hmtx, cmap = tables["head"], tables["hhea"], tables["hmtx"], tables["cmap"]
    units = struct.unpack(">H", data[head + 18:head + 20])[0]
    count = struct.unpack(">H", data[hhea + 34:hhea + 36])[0]
    advances = [struct.unpack(">H", data[hmtx + 4 * g:hmtx + 4 * g + 2])[0] for g in range(count)]
    glyphs = {}
    for i in range(struct.unpack(">H", data[cmap + 2:cmap + 4])[0]):
        platform, encoding, offset = struct.unpack(">HHI", data[cmap + 4 + 8 * i:cmap + 12 + 8 * i])
        if (platform, encoding) != (3, 1):
            continue
        o = cmap + offset
        assert struct.unpack(">H", data[o:o + 2])[0] == 4, "cmap format 4 expected"
        n2 = struct.unpack(">H", data[o + 6:o + 8])[0]
        n = n2 // 2
        ends = struct.unpack(f">{n}H", data[o + 14:o + 14 + n2])
        starts = struct.unpack(f">{n}H", data[o + 16 + n2:o + 16 + 2 * n2])
        deltas = struct.unpack(f">{n}h", data[o + 16 + 2 * n2:o + 16 + 3 * n2])
        ranges = o + 16 + 3 * n2
        range_offsets = struct.unpack(f">{n}H", data[ranges:ranges + n2])
        for s in range(n):
            for c in range(starts[s], min(ends[s], 0xFFFE) + 1):
                if range_offsets[s] == 0:
                    g = (c + deltas[s]) & 0xFFFF
                else:
                    p = ranges + 2 * s + range_offsets[s] + 2 * (c - starts[s])
                    g = struct.unpack(">H", data[p:p + 2])[0]
                    g = (g + deltas[s]) & 0xFFFF if g else 0
                glyphs[c] = g
    return units, advances, glyphs


def width_mm(family, bold, italic, text, points):
    units, advances, glyphs = _metrics(font_file(family, bold, italic))
    total = 0
    for ch in text:
        g = glyphs.get(ord(ch), 0)
        total += advances[min(g, len(advances) - 1)]
    return total / units * points / 72 * 25.4

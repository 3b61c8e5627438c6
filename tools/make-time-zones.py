#!/usr/bin/env python3
"""Writes the time-zone asset assets/timezones/tz-lookup.bin: which legal time zone holds a place.

The source is tz.js of the npm package @photostructure/tz-lookup 11.8.0 (CC0 1.0; its zones are
timezone-boundary-builder's, made from OpenStreetMap, and its shapes are coarse: see the README
for how often it names the right zone). The package keeps the world as a tree in one string: a
grid of 48 x 24 cells of 7.5 x 7.5 degrees, each cell either a zone or a node of four quarter
cells, and so on down; every entry is two characters, 56 * (c0 - 35) + (c1 - 35) with the
characters' codes. An entry K is a leaf when K + zones >= 3136, naming zone K + zones - 3136;
otherwise its four children are the node K + 1 nodes after the node before it, in the order
(north-west, north-east, south-west, south-east).

The asset, little-endian throughout (io/earth/timezones.h reads it):

    bytes 0..3    magic "GYTZ"
    bytes 4..5    version, 1
    bytes 6..7    number of zone names
    bytes 8..11   number of entries (the 1152 cells of the grid, then 4 per node)
    then          per name: uint8 length, ASCII bytes (an IANA name such as Europe/Lisbon;
                  Etc/GMT+5 and the like for the open sea)
    then          per entry: uint16, as decoded above (< 3136)

Usage: tools/make-time-zones.py --source tz.js [--output FILE]
"""

import argparse
import json
import pathlib
import re
import struct
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
MAGIC = b"GYTZ"
VERSION = 1
GRID_CELLS = 48 * 24
ENTRY_LIMIT = 56 * 56


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True, type=pathlib.Path,
                        help="tz.js of @photostructure/tz-lookup 11.8.0")
    parser.add_argument("--output", type=pathlib.Path,
                        default=ROOT / "assets" / "timezones" / "tz-lookup.bin")
    args = parser.parse_args()

    script = args.source.read_text(encoding="utf-8")
    tree = re.search(r'var X="([^"]*)"', script)
    names = re.search(r'T=(\[[^\]]*\])', script)
    if not tree or not names:
        sys.exit(f"{args.source}: not the tz-lookup script (no tree string or zone list)")
    tree = tree.group(1).encode("latin-1").decode("unicode_escape")
    names = json.loads(names.group(1))
    if len(tree) % 2 or len(tree) < 2 * GRID_CELLS or (len(tree) // 2 - GRID_CELLS) % 4:
        sys.exit(f"{args.source}: the tree string has an unexpected length {len(tree)}")
    entries = [56 * ord(tree[i]) + ord(tree[i + 1]) - 1995 for i in range(0, len(tree), 2)]
    if any(not 0 <= k < ENTRY_LIMIT for k in entries) or not names or len(names) >= ENTRY_LIMIT:
        sys.exit(f"{args.source}: an entry outside 0..{ENTRY_LIMIT - 1}")
    if any(not re.fullmatch(r"[A-Za-z0-9_+\-/]{1,64}", name) for name in names):
        sys.exit(f"{args.source}: a zone name that is not a plain IANA name")

    data = MAGIC + struct.pack("<HHI", VERSION, len(names), len(entries))
    for name in names:
        data += struct.pack("<B", len(name)) + name.encode("ascii")
    data += struct.pack(f"<{len(entries)}H", *entries)
    args.output.parent.mkdir(parents=True, exist_ok=True)
    args.output.write_bytes(data)
    print(f"{args.output}: {len(names)} zones, {len(entries)} entries, {len(data)} bytes")


if __name__ == "__main__":
    main()

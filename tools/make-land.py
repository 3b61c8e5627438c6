#!/usr/bin/env python3
"""Writes the land asset assets/land/land-10m.bin from Natural Earth's 1:10m land and the canals.

The land is land-10m.json of the npm package world-atlas 2.0.2 (TopoJSON, ISC licence; the data
are Natural Earth's, public domain). The canals are tools/land-canals.json, written by hand: each
a centre line and a half-width, with the sources of its positions. The land check
(geo/landindex.h) treats a canal corridor as water although the 1:10m land closes it.

The land check works on the sphere (S2 Geometry), so the rings stay as world-atlas keeps them on
the sphere, with three mends:
  - a point on the 180th meridian is stored at -180 degrees, its other name, so that a ring that
    crosses the meridian (Chukotka, Fiji, the Ross Ice Shelf) is one ring of short edges;
  - every ring is turned so that its interior lies to its left, as S2 wants: d3's convention
    (world-atlas's) is the other way round, and the script checks each ring rather than trust
    either convention. Antarctica's ring runs round the south pole without a vertex near it; on
    the sphere that is already a closed loop, and it is turned to run westward, so that the pole
    lies inside;
  - Natural Earth's "Null Island", a square of 0.01 degrees at 0N 0E that stands for no land
    at all (a marker for positions left at zero), is left out;
  - an edge long enough for a great circle to part from the straight line in longitude and
    latitude (the data's meaning) by more than 0.05 nm gets points in between.

The asset, little-endian throughout (io/earth/landasset.h reads it):

    bytes 0..3    magic "GYLD"
    bytes 4..5    version, 1
    bytes 6..7    number of corridors C
    bytes 8..11   number of land rings R
    bytes 12..15  number of land points N, all rings together
    bytes 16..47  float64 degrees per unit of longitude and of latitude, then the longitude and
                  latitude of unit 0
    then          R uint32: a ring's number of points (at least 3) times 2, plus 1 when the ring
                  is a hole of the polygon whose outer ring came last before it
    then          C corridors: uint8 name length, the name (UTF-8), uint16 source length, the
                  source (UTF-8), uint32 number of points (at least 3)
    then          the points of the R rings, then those of the C corridors: each point as two
                  LEB128 varints, the zigzag-coded difference in units of longitude and of latitude
                  from the ring's previous point (from unit 0 for a ring's first point)

A ring is closed implicitly (its last point joins its first), its interior on its left.

Usage: tools/make-land.py --source land-10m.json [--canals tools/land-canals.json] [--output FILE]
"""

import argparse
import json
import math
import pathlib
import struct
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
MAGIC = b"GYLD"
VERSION = 1
NM_PER_DEGREE = 60.0
EARTH_RADIUS_NM = NM_PER_DEGREE * 180 / math.pi
MAX_BULGE_NM = 0.05


def decode_arcs(topology):
    """The arcs as lists of integer (x, y) units."""
    arcs = []
    for arc in topology["arcs"]:
        x = y = 0
        points = []
        for dx, dy in arc:
            x += dx
            y += dy
            points.append((x, y))
        arcs.append(points)
    return arcs


def ring_points(ring, arcs):
    """The points of one ring of arc indices; each arc after the first repeats the last point."""
    points = []
    for index in ring:
        arc = arcs[index] if index >= 0 else list(reversed(arcs[~index]))
        points.extend(arc if not points else arc[1:])
    return points


class Grid:
    """The TopoJSON's quantization: integer units to degrees and back."""

    def __init__(self, topology):
        self.scale_x, self.scale_y = topology["transform"]["scale"]
        self.x0, self.y0 = topology["transform"]["translate"]
        if self.x0 != -180:
            sys.exit("the longitudes do not start at -180 degrees")
        self.x_180 = round(360 / self.scale_x)  # the unit of +180 degrees, the same meridian as 0

    def degrees(self, point):
        return (self.x0 + point[0] * self.scale_x, self.y0 + point[1] * self.scale_y)

    def units(self, lon, lat):
        x = round((lon - self.x0) / self.scale_x) % self.x_180
        return (x, round((lat - self.y0) / self.scale_y))


def tidy(points, grid):
    """+180 stored as -180, consecutive duplicates and the closing repeat dropped."""
    out = []
    for x, y in points:
        q = (0 if x == grid.x_180 else x, y)
        if not out or out[-1] != q:
            out.append(q)
    while len(out) > 1 and out[-1] == out[0]:
        out.pop()
    return out


def unwrapped(points, grid):
    """Degrees with longitudes made continuous (a jump of more than 180 is a crossing of 180)."""
    out = []
    for point in points:
        lon, lat = grid.degrees(point)
        if out:
            while lon - out[-1][0] > 180:
                lon -= 360
            while lon - out[-1][0] < -180:
                lon += 360
        out.append((lon, lat))
    return out


def winding(points, grid):
    """(turns round a pole, planar signed area) of a ring in longitude and latitude."""
    ring = unwrapped(points, grid)
    first_lon = ring[0][0]
    last_lon = ring[-1][0]
    step = first_lon - last_lon
    step -= 360 * round(step / 360)
    turns = round((last_lon + step - first_lon) / 360)
    area = 0.5 * sum(ring[i - 1][0] * p[1] - p[0] * ring[i - 1][1] for i, p in enumerate(ring))
    return turns, area


def orient(points, grid, hole):
    """The ring turned so that its interior lies on its left on the sphere."""
    turns, area = winding(points, grid)
    if turns:
        if hole:
            sys.exit("a hole winds round a pole")
        south = sum(grid.degrees(p)[1] for p in points) < 0
        # Round the south pole westward, round the north pole eastward: the pole on the left.
        left_holds_pole = (turns < 0) == south
        return points if left_holds_pole else list(reversed(points))
    counter_clockwise = area > 0
    return points if counter_clockwise != hole else list(reversed(points))


def bulge_nm(a, b):
    """How far a great circle parts from the straight line in longitude and latitude, about."""
    dlon = b[0] - a[0]
    dlon -= 360 * round(dlon / 360)
    lat = math.radians((a[1] + b[1]) / 2)
    along = math.hypot(dlon * math.cos(lat), b[1] - a[1]) * NM_PER_DEGREE
    sin_course = abs(dlon * math.cos(lat)) * NM_PER_DEGREE / along if along else 0
    return along * along * sin_course * abs(math.tan(lat)) / (8 * EARTH_RADIUS_NM)


def densified(points, grid):
    """Points added on edges whose great circle would part from the data's line."""
    out = []
    for i, p in enumerate(points):
        q = points[(i + 1) % len(points)]
        out.append(p)
        a, b = grid.degrees(p), grid.degrees(q)
        bulge = bulge_nm(a, b)
        if bulge <= MAX_BULGE_NM:
            continue
        pieces = math.ceil(math.sqrt(bulge / MAX_BULGE_NM))
        dx = q[0] - p[0]
        if abs(dx) > grid.x_180 / 2:  # across the 180th meridian
            dx -= grid.x_180 if dx > 0 else -grid.x_180
        for k in range(1, pieces):
            x = round(p[0] + dx * k / pieces) % grid.x_180
            y = round(p[1] + (q[1] - p[1]) * k / pieces)
            out.append((x, y))
    return tidy(out, grid)


def land_rings(topology, grid):
    """[(points, hole)] in polygon order, each polygon's outer ring first."""
    arcs = decode_arcs(topology)
    rings = []
    for geometry in topology["objects"]["land"]["geometries"]:
        polygons = geometry["arcs"]
        if geometry["type"] == "Polygon":
            polygons = [polygons]
        elif geometry["type"] != "MultiPolygon":
            continue
        for polygon in polygons:
            for index, ring in enumerate(polygon):
                points = tidy(ring_points(ring, arcs), grid)
                turns, area = winding(points, grid) if len(points) >= 3 else (0, 0)
                # Fewer than three points, or three in a row (the Maldives have one): no land.
                if not turns and abs(area) < 1e-9:
                    continue
                if all(abs(c) <= 0.01 for p in points for c in grid.degrees(p)):
                    continue  # Null Island
                hole = index > 0
                rings.append((densified(orient(points, grid, hole), grid), hole))
    return rings


def corridor_ring(line, half_width_nm, grid):
    """A corridor round a centre line: its two sides, offset on a local flat chart."""
    left, right = [], []
    for i, (lat, lon) in enumerate(line):
        a = line[max(i - 1, 0)]
        b = line[min(i + 1, len(line) - 1)]
        scale = math.cos(math.radians(lat))
        east = (b[1] - a[1]) * scale
        north = b[0] - a[0]
        length = math.hypot(east, north)
        # The normal to the left of the direction of the line, half a width long.
        offset = half_width_nm / NM_PER_DEGREE
        n_east, n_north = -north / length * offset, east / length * offset
        left.append((lon + n_east / scale, lat + n_north))
        right.append((lon - n_east / scale, lat - n_north))
    # Down the right side, back up the left: the corridor lies on the left of this ring.
    ring = right + list(reversed(left))
    points = tidy([grid.units(lon, lat) for lon, lat in ring], grid)
    if winding(points, grid)[1] <= 0:
        sys.exit("a corridor came out clockwise")
    return points


def zigzag(value):
    return (value << 1) ^ (value >> 63)


def varint(value):
    out = bytearray()
    while True:
        byte = value & 0x7F
        value >>= 7
        if value:
            out.append(byte | 0x80)
        else:
            out.append(byte)
            return out


def encode_points(points):
    out = bytearray()
    x = y = 0
    for px, py in points:
        out += varint(zigzag(px - x))
        out += varint(zigzag(py - y))
        x, y = px, py
    return out


def encode(grid, rings, corridors):
    point_count = sum(len(points) for points, _ in rings)
    out = bytearray(MAGIC)
    out += struct.pack("<HHII", VERSION, len(corridors), len(rings), point_count)
    out += struct.pack("<4d", grid.scale_x, grid.scale_y, grid.x0, grid.y0)
    out += struct.pack("<%dI" % len(rings), *(len(p) * 2 + int(h) for p, h in rings))
    for name, source, points in corridors:
        name_bytes, source_bytes = name.encode("utf-8"), source.encode("utf-8")
        out += struct.pack("<B", len(name_bytes)) + name_bytes
        out += struct.pack("<H", len(source_bytes)) + source_bytes
        out += struct.pack("<I", len(points))
    for points, _ in rings:
        out += encode_points(points)
    for _, _, points in corridors:
        out += encode_points(points)
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True, type=pathlib.Path,
                        help="land-10m.json of world-atlas 2.0.2")
    parser.add_argument("--canals", type=pathlib.Path, default=ROOT / "tools" / "land-canals.json")
    parser.add_argument("--output", type=pathlib.Path,
                        default=ROOT / "assets" / "land" / "land-10m.bin")
    args = parser.parse_args()

    with open(args.source, encoding="utf-8") as source:
        topology = json.load(source)
    if topology.get("type") != "Topology" or "land" not in topology.get("objects", {}):
        sys.exit(f"{args.source}: not a TopoJSON topology with a 'land' object")
    grid = Grid(topology)
    rings = land_rings(topology, grid)
    with open(args.canals, encoding="utf-8") as canals:
        corridors = [(canal["name"], canal["source"],
                      corridor_ring(canal["line"], canal["halfWidthNm"], grid))
                     for canal in json.load(canals)["canals"]]
    data = encode(grid, rings, corridors)
    args.output.parent.mkdir(parents=True, exist_ok=True)
    args.output.write_bytes(data)
    print(f"{args.output}: {len(rings)} rings ({sum(h for _, h in rings)} holes), "
          f"{sum(len(p) for p, _ in rings)} points, {len(corridors)} corridors, {len(data)} bytes")


if __name__ == "__main__":
    main()

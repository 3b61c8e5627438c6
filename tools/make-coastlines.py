#!/usr/bin/env python3
"""Writes the coastline asset assets/coastlines/land-50m.bin from Natural Earth's 1:50m land.

The source is land-50m.json of the npm package world-atlas 2.0.2 (TopoJSON, ISC licence; the
data are Natural Earth's, public domain). The script decodes the TopoJSON itself: the arcs are
quantized and delta-encoded, a negative arc index means the arc ~i walked backwards, and the
transform turns the quantized integers into longitude and latitude.

The asset, little-endian throughout (io/earth/coastlines.h reads it):

    bytes 0..3    magic "GYLN"
    bytes 4..5    version, 1
    bytes 6..7    units per degree of the coordinates, 180
    bytes 8..11   number of rings
    bytes 12..15  number of points, all rings together
    then          one uint32 per ring: its number of points (at least 3)
    then          the points, ring after ring: int16 longitude, int16 latitude, in units
                  (|longitude| <= 180 * units, |latitude| <= 90 * units)

A ring is closed implicitly (its last point joins its first). Outer rings and holes are not
told apart: land is where a point lies inside an odd number of rings.

world-atlas keeps its polygons on the sphere: a ring may jump from 180 to -180 degrees
(Chukotka, Fiji) and Antarctica winds round the south pole without ever closing through it.
Drawn on a flat map, such a jump would become an edge across the whole world. So every ring
is cut at the 180th meridian here, and a ring round a pole is closed along that pole: in the
asset every ring is a plain polygon within -180..180, and a map that wraps draws it shifted
by 360 degrees.

Usage: tools/make-coastlines.py --source land-50m.json [--output FILE]
"""

import argparse
import json
import pathlib
import struct
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
MAGIC = b"GYLN"
VERSION = 1
UNITS_PER_DEGREE = 180  # 1/180 degree is about 600 m at the equator: finer than a pixel of the world map


def decode_arcs(topology):
    """The arcs as lists of (longitude, latitude) in degrees."""
    scale_x, scale_y = topology["transform"]["scale"]
    translate_x, translate_y = topology["transform"]["translate"]
    arcs = []
    for arc in topology["arcs"]:
        x = y = 0
        points = []
        for dx, dy in arc:
            x += dx
            y += dy
            points.append((x * scale_x + translate_x, y * scale_y + translate_y))
        arcs.append(points)
    return arcs


def ring_points(ring, arcs):
    """The points of one ring of arc indices; each arc after the first repeats the last point."""
    points = []
    for index in ring:
        arc = arcs[index] if index >= 0 else list(reversed(arcs[~index]))
        points.extend(arc if not points else arc[1:])
    return points


def unwrap(points):
    """Longitudes made continuous (a jump of more than 180 degrees is a crossing of 180)."""
    out = [points[0]]
    for lon, lat in points[1:]:
        previous = out[-1][0]
        while lon - previous > 180:
            lon -= 360
        while lon - previous < -180:
            lon += 360
        out.append((lon, lat))
    return out


def close_round_pole(points):
    """A ring whose longitudes wind once round a pole, closed along that pole."""
    first_lon, first_lat = points[0]
    last_lon = points[-1][0]
    step = first_lon - last_lon
    while step > 180:
        step -= 360
    while step < -180:
        step += 360
    turn = last_lon + step - first_lon
    if abs(turn) < 1:
        return points
    pole = -90 if sum(lat for _, lat in points) < 0 else 90
    end_lon = first_lon + turn
    return points + [(end_lon, first_lat), (end_lon, pole), (first_lon, pole)]


def clip_band(points, low, high):
    """Sutherland-Hodgman: the part of a polygon with low <= longitude <= high."""
    def clip(points, inside, cut):
        out = []
        for i, current in enumerate(points):
            previous = points[i - 1]
            if inside(current):
                if not inside(previous):
                    out.append(cut(previous, current))
                out.append(current)
            elif inside(previous):
                out.append(cut(previous, current))
        return out

    def at(lon):
        def cut(a, b):
            t = (lon - a[0]) / (b[0] - a[0])
            return (lon, a[1] + t * (b[1] - a[1]))
        return cut

    points = clip(points, lambda p: p[0] >= low, at(low))
    return clip(points, lambda p: p[0] <= high, at(high)) if points else points


def planar_pieces(points):
    """The ring cut at 180 degrees into polygons within -180..180."""
    ring = close_round_pole(unwrap(points))
    low = min(lon for lon, _ in ring)
    high = max(lon for lon, _ in ring)
    if low >= -180 and high <= 180:
        return [ring]
    pieces = []
    for shift in (-720, -360, 0, 360, 720):
        if high + shift < -180 or low + shift > 180:
            continue
        piece = clip_band([(lon + shift, lat) for lon, lat in ring], -180, 180)
        if piece:
            pieces.append(piece)
    return pieces


def area(points):
    return 0.5 * sum(points[i - 1][0] * p[1] - p[0] * points[i - 1][1]
                     for i, p in enumerate(points))


def quantize(points):
    """Points in units, consecutive duplicates and the closing repeat of the first point dropped."""
    out = []
    for lon, lat in points:
        q = (round(lon * UNITS_PER_DEGREE), round(lat * UNITS_PER_DEGREE))
        q = (max(-180 * UNITS_PER_DEGREE, min(180 * UNITS_PER_DEGREE, q[0])),
             max(-90 * UNITS_PER_DEGREE, min(90 * UNITS_PER_DEGREE, q[1])))
        if not out or out[-1] != q:
            out.append(q)
    while len(out) > 1 and out[-1] == out[0]:
        out.pop()
    return out


def rings_of(topology):
    arcs = decode_arcs(topology)
    rings = []
    for geometry in topology["objects"]["land"]["geometries"]:
        polygons = geometry["arcs"]
        if geometry["type"] == "Polygon":
            polygons = [polygons]
        elif geometry["type"] != "MultiPolygon":
            continue
        for polygon in polygons:
            for ring in polygon:
                for piece in planar_pieces(ring_points(ring, arcs)):
                    points = quantize(piece)
                    # A piece of no area (a sliver along a pole or the cut) would only be noise.
                    if len(points) >= 3 and abs(area(points)) > 0:
                        rings.append(points)
    return rings


def encode(rings):
    point_count = sum(len(ring) for ring in rings)
    out = bytearray(MAGIC)
    out += struct.pack("<HHII", VERSION, UNITS_PER_DEGREE, len(rings), point_count)
    out += struct.pack("<%dI" % len(rings), *(len(ring) for ring in rings))
    for ring in rings:
        for lon, lat in ring:
            out += struct.pack("<hh", lon, lat)
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True, type=pathlib.Path,
                        help="land-50m.json of world-atlas 2.0.2")
    parser.add_argument("--output", type=pathlib.Path,
                        default=ROOT / "assets" / "coastlines" / "land-50m.bin")
    args = parser.parse_args()

    with open(args.source, encoding="utf-8") as source:
        topology = json.load(source)
    if topology.get("type") != "Topology" or "land" not in topology.get("objects", {}):
        sys.exit(f"{args.source}: not a TopoJSON topology with a 'land' object")
    rings = rings_of(topology)
    data = encode(rings)
    args.output.parent.mkdir(parents=True, exist_ok=True)
    args.output.write_bytes(data)
    print(f"{args.output}: {len(rings)} rings, {sum(len(r) for r in rings)} points, "
          f"{len(data)} bytes")


if __name__ == "__main__":
    main()

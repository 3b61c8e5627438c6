#!/usr/bin/env bash
# Writes the sea-route asset assets/sea/searoutes.bin from the land asset (assets/land/, made by
# tools/make-land.py from Natural Earth's 1:10m land), the canals' centre lines
# (tools/land-canals.json) and the named passages (tools/sea-passages.txt).
#
# Usage: tools/make-searoutes.sh [BUILD_DIR]   (a configured build tree; build/ci by default)
# It takes a few minutes: every cell of the half-degree grid asks the land for its clearance.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/ci}
cmake --build "$build" --target make-searoutes
passages=$(mktemp)
trap 'rm -f "$passages"' EXIT
# A canal's corridor is its centre line in the land check's file, so that its positions are
# kept in one place.
python3 - "$root/tools/land-canals.json" "$root/tools/sea-passages.txt" >"$passages" <<'PY'
import json, sys
canals = {c["name"]: c["line"] for c in json.load(open(sys.argv[1]))["canals"]}
for line in open(sys.argv[2], encoding="utf-8"):
    fields = [f.strip() for f in line.split("|")]
    if len(fields) == 6 and "canal " in fields[4]:
        points = []
        for item in (i.strip() for i in fields[4].split(";")):
            if item.startswith("canal "):
                if item[6:] not in canals:
                    sys.exit(f"sea-passages.txt: no canal called {item[6:]!r} in land-canals.json")
                points += [f"{lat} {lon}" for lat, lon in canals[item[6:]]]
            else:
                points.append(item)
        fields[4] = "; ".join(points)
        line = " | ".join(fields) + "\n"
    sys.stdout.write(line)
PY
mkdir -p "$root/assets/sea"
"$build/tools/make-searoutes" --land "$root/assets/land/land-10m.bin" --passages "$passages" \
  --output "$root/assets/sea/searoutes.bin"

#!/usr/bin/env bash
# Puts the npm packages the tests compare Gyrena's almanac with into a folder (default
# build/npm-references): geomagnetism 0.2.0 (a second implementation of the World Magnetic Model)
# and @photostructure/tz-lookup 11.8.0 (the time-zone map's own lookup). Node runs them; nothing
# is installed outside the folder. Does nothing when the folder already holds them.
# Usage: scripts/npm-references.sh [FOLDER]
set -euo pipefail

dest=${1:-build/npm-references}
[[ -s "$dest/node_modules/geomagnetism/package.json" &&
   -s "$dest/node_modules/@photostructure/tz-lookup/tz.js" ]] && exit 0
mkdir -p "$dest"
(cd "$dest" && npm install --no-save --no-audit --no-fund --loglevel=error \
   geomagnetism@0.2.0 @photostructure/tz-lookup@11.8.0 >/dev/null)
echo "npm-references.sh: geomagnetism and tz-lookup in $dest"

#!/usr/bin/env bash
# Puts the XML schemas the tests check written files against into a folder (default
# build/schemas): GPX 1.1 (Topografix_gpx11.xsd), KML 2.2 (ogckml22.xsd with atom-author-link.xsd
# and xAL.xsd) and others, all from Debian's pytrainer package, which is downloaded and unpacked
# but never installed. Does nothing when the folder already holds them.
# Usage: scripts/schemas.sh [FOLDER]
set -euo pipefail

dest=${1:-build/schemas}
[[ -s "$dest/Topografix_gpx11.xsd" && -s "$dest/ogckml22.xsd" ]] && exit 0

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# apt-get download needs package lists; a fresh machine may have none yet.
if ! (cd "$scratch" && apt-get download -qq pytrainer 2>/dev/null); then
  apt-get update -qq
  (cd "$scratch" && apt-get download -qq pytrainer)
fi
dpkg-deb -x "$scratch"/pytrainer_*.deb "$scratch/tree"
mkdir -p "$dest"
cp "$scratch"/tree/usr/share/pytrainer/schemas/*.xsd "$dest"/
echo "schemas.sh: $(ls "$dest" | wc -l) schemas from $(basename "$scratch"/pytrainer_*.deb) in $dest"

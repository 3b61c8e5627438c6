#!/usr/bin/env bash
# Checks an installed Gyrena tree: every file is where the desktop expects it, nothing else
# is there, and each file passes its own format's validator.
# Usage: tests/packaging/check-tree.sh PREFIX   (the directory holding bin/ and share/)
set -euo pipefail
prefix=${1:?usage: check-tree.sh PREFIX}
src=$(cd "$(dirname "$0")/../.." && pwd)
id=io.github.gyrena.Gyrena
version=$(sed -n 's/^project(gyrena VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }
# check WHAT COMMAND...: runs the command and reports WHAT as passed or failed.
check() {
  local what=$1
  shift
  if "$@"; then ok "$what"; else fail "$what"; fi
}
is_elf_executable() { [[ -x "$1" ]] && file -b "$1" | grep -q '^ELF'; }
is_well_formed_xml() { [[ -f "$1" ]] && xmllint --noout "$1"; }

expected=(
  bin/gyrena
  bin/gyrena-route
  libexec/gyrena/gyrena-s2land.so
  "share/applications/$id.desktop"
  "share/metainfo/$id.metainfo.xml"
  "share/mime/packages/$id.xml"
  share/gyrena/cities/world.gcl
  share/doc/gyrena/copyright
  share/man/man1/gyrena.1
  share/man/man1/gyrena-route.1
  share/icons/hicolor/scalable/apps/gyrena.svg
)
# Every PNG size the artwork comes in goes to the matching hicolor folder.
sizes=()
for png in "$src"/assets/icons/gyrena-*.png; do
  size=${png##*/gyrena-}
  size=${size%.png}
  sizes+=("$size")
  expected+=("share/icons/hicolor/${size}x${size}/apps/gyrena.png")
done
((${#sizes[@]} > 0)) || fail "no PNG icons under assets/icons"

# The tree holds exactly the expected files.
actual=$(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort)
wanted=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)
if [[ "$actual" == "$wanted" ]]; then
  ok "the tree holds exactly the ${#expected[@]} expected files"
else
  fail "the tree differs from the expected files (< expected, > installed):"
  diff <(echo "$wanted") <(echo "$actual") >&2 || true
fi

for exe in bin/gyrena bin/gyrena-route; do
  check "$exe is an ELF executable" is_elf_executable "$prefix/$exe"
done

# The land check loads its private module from beside the installed program: a crossing is
# found (status 3) and a passage in open water passes (status 0).
land_status() {
  local status=0
  "$prefix/bin/gyrena-route" --check-land "$@" >/dev/null 2>&1 || status=$?
  echo "$status"
}
check "the installed gyrena-route finds land between Sydney and Singapore (status 3)" \
  test "$(land_status --from Sydney --to Singapore)" = 3
check "the installed gyrena-route finds no land from 40 N 30 W to 30 N 40 W (status 0)" \
  test "$(land_status 40 0 N 30 0 W 30 0 N 40 0 W)" = 0

for size in "${sizes[@]}"; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/gyrena.png"
  [[ -f "$icon" ]] || continue
  if file -b "$icon" | grep -q "^PNG image data, $size x $size,"; then
    ok "icon ${size}x${size} is a $size x $size PNG"
  else
    fail "icon ${size}x${size} is not a $size x $size PNG: $(file -b "$icon")"
  fi
done
# The data built into the programs are credited with their licences.
for credit in "Files: assets/places/gazetteer.bin" "License: CC-BY-4.0 and public-domain and MIT" "License: MIT"; do
  check "the copyright file has \"$credit\"" grep -qx "$credit" "$prefix/share/doc/gyrena/copyright"
done
check "the scalable icon is well-formed XML" \
  is_well_formed_xml "$prefix/share/icons/hicolor/scalable/apps/gyrena.svg"

desktop="$prefix/share/applications/$id.desktop"
if [[ -f "$desktop" ]]; then
  # Hints are advice (three main categories were chosen on purpose); anything else fails.
  complaints=$(desktop-file-validate "$desktop" | grep -v ': hint: ' || true)
  if [[ -z "$complaints" ]]; then ok "desktop-file-validate"; else fail "$complaints"; fi
  grep -qx 'Icon=gyrena' "$desktop" || fail "the desktop entry's Icon is not gyrena"
  grep -qx 'MimeType=application/x-gyrena-data;application/x-gyrena-city-list;application/gpx+xml;' \
    "$desktop" || fail "the desktop entry does not declare its three MIME types"
  # gio and xdg-open append the file themselves when Exec has no field code, so a launch alone
  # cannot show that the entry hands Gyrena the file it was opened with.
  grep -qx 'Exec=gyrena %f' "$desktop" || fail "the desktop entry's Exec does not pass the file (%f)"
fi

metainfo="$prefix/share/metainfo/$id.metainfo.xml"
if [[ -f "$metainfo" ]]; then
  check "appstreamcli validate" appstreamcli validate --no-net --strict "$metainfo"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo does not list release $version"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo does not launch $id.desktop"
  # Screenshots are published from docs/ of the tagged release: each must be in the tree.
  shots=$(sed -n 's|.*<image>.*/\(docs/[^<]*\)</image>.*|\1|p' "$metainfo")
  [[ -n "$shots" ]] || fail "the metainfo shows no screenshot from docs/"
  for shot in $shots; do
    check "screenshot $shot is in the source tree" test -f "$src/$shot"
  done
fi

check "the MIME package is well-formed XML" is_well_formed_xml "$prefix/share/mime/packages/$id.xml"

check "world.gcl is assets/cities/world.gcl" \
  cmp -s "$prefix/share/gyrena/cities/world.gcl" "$src/assets/cities/world.gcl"

for page in gyrena gyrena-route; do
  man="$prefix/share/man/man1/$page.1"
  [[ -f "$man" ]] || continue
  check "$page.1 names version $version" grep -q "^\.TH ${page^^} 1 .*\"Gyrena $version\"" "$man"
  warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$man" 2>&1)
  if [[ -z "$warnings" ]]; then ok "$page.1 formats without warnings"; else fail "$page.1: $warnings"; fi
done

if ((failures > 0)); then
  echo "check-tree.sh: $failures check(s) failed in $prefix" >&2
  exit 1
fi
echo "check-tree.sh: all checks passed in $prefix"

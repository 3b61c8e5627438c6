#!/usr/bin/env bash
# Installation and the Debian package: installs Gyrena into a scratch root and checks the
# tree (files, validators, MIME detection, the programs run), then builds the .deb with
# CPack and checks its contents and control fields. As root, it also installs the .deb with
# apt-get, runs the installed programs and removes the package again, but only where no
# gyrena package was there before.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/deps.sh build run package gui

src=$PWD
version=$(sed -n 's/^project(gyrena VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
id=io.github.gyrena.Gyrena

# The stage before builds the ci preset; reuse it rather than build a second tree. Run on
# its own, the stage reuses a configured release tree, or else makes a release build
# without the test suites (what the package holds, in a few minutes on two cores).
# GYRENA_PACKAGE_BUILD_DIR names another configured build tree to package instead.
if [[ -n "${GYRENA_PACKAGE_BUILD_DIR:-}" ]]; then
  build=$GYRENA_PACKAGE_BUILD_DIR
elif [[ -f build/ci/CMakeCache.txt ]]; then
  build=build/ci
elif [[ -f build/release/CMakeCache.txt ]]; then
  build=build/release
else
  build=build/package
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGYRENA_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build"

work=$(mktemp -d /tmp/gyrena-package.XXXXXX)
chmod 755 "$work" # apt-get reads the .deb as its own unprivileged user
installed_by_us=0
cleanup() {
  if ((installed_by_us)); then
    echo "removing the gyrena package this stage installed"
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq gyrena >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Runs the program in $1 for three seconds without a display; it must still be running
# then and have printed nothing but the offscreen plugin's note that it cannot pass a fixed
# window size on to a window manager.
check_starts_offscreen() {
  local status=0
  QT_QPA_PLATFORM=offscreen timeout -s TERM 3 "$1" 2>"$work/offscreen.all" || status=$?
  grep -vx 'This plugin does not support propagateSizeHints()' "$work/offscreen.all" \
    >"$work/offscreen.err" || true
  if ((status != 124)); then
    echo "FAIL: $1 ended by itself with status $status under the offscreen platform" >&2
    cat "$work/offscreen.err" >&2
    return 1
  fi
  if [[ -s "$work/offscreen.err" ]]; then
    echo "FAIL: $1 wrote to stderr under the offscreen platform:" >&2
    cat "$work/offscreen.err" >&2
    return 1
  fi
  echo "ok: $1 starts and keeps running under the offscreen platform"
}

# Runs the program in $1 on a virtual X display, closes its window as a window manager's
# close button does, and expects it to end by itself with status 0 and no warnings.
check_closes_on_x() {
  local status=0
  timeout 60 xvfb-run -a -s '-screen 0 1280x1024x24 -dpi 96' \
    bash "$src/tests/packaging/run-and-close.sh" "$1" 2>"$work/x11.err" || status=$?
  if ((status != 0)) || [[ -s "$work/x11.err" ]]; then
    echo "FAIL: $1 did not close cleanly on X (status $status):" >&2
    cat "$work/x11.err" >&2
    return 1
  fi
  echo "ok: $1 shows its window on X and ends with status 0 when the window is closed"
}

# Opens the data file $4 as a double-click in a file manager does, with the desktop entries
# and MIME types on the data dirs $2 and the programs on the PATH $3, and expects the program
# $1 to show that route (tests/packaging/open-from-desktop.py); bounded, and it ends the
# program it started.
check_opens_from_desktop() {
  local status=0
  mkdir -p "$work/desktop-home" "$work/desktop-config"
  timeout 90 env XDG_DATA_DIRS="$2" PATH="$3" XDG_DATA_HOME="$work/desktop-home" \
    XDG_CONFIG_HOME="$work/desktop-config" XDG_CONFIG_DIRS="$work/desktop-config" \
    /usr/bin/python3 "$src/tests/packaging/open-from-desktop.py" "$1" "$4" >"$work/desktop.out" \
    2>"$work/desktop.err" || status=$?
  if ((status != 0)); then
    echo "FAIL: opening ${4##*/} from the desktop did not show its route in $1 (status $status):" >&2
    cat "$work/desktop.out" "$work/desktop.err" >&2
    return 1
  fi
  sed 's/^/  /' "$work/desktop.out"
  echo "ok: ${4##*/} opened from the desktop (gio open) shows its route in $1"
}

# The first worked route, given as twelve texts and as a saved data file.
printf '%s\r\n' GyrenaDataFile "San Francisco" USA Sydney Australia 37 45 N 122 27 W 34 0 S 151 0 E \
  >"$work/sf-sydney.gdf"
check_route() {
  local out args
  for args in "37 45 N 122 27 W 34 0 S 151 0 E" "$work/sf-sydney.gdf"; do
    # shellcheck disable=SC2086 # the twelve texts are meant to split
    out=$("$1" $args)
    if grep -qx 'Great Circle Distance = 6457.91 nautical miles' <<<"$out"; then
      echo "ok: $1 computes San Francisco to Sydney from ${args##*/}"
    else
      echo "FAIL: $1 ${args##*/} printed:" >&2
      echo "$out" >&2
      return 1
    fi
  done
  # The gazetteer is built into the program, stripped or not.
  out=$("$1" --find funch)
  if [[ ${out%%$'\t'*} == Funchal ]]; then
    echo "ok: $1 --find funch finds Funchal"
  else
    echo "FAIL: $1 --find funch printed: $out" >&2
    return 1
  fi
}

echo "--- install into a scratch root"
DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
bash tests/packaging/check-tree.sh "$work/root/usr"
check_route "$work/root/usr/bin/gyrena-route"
check_starts_offscreen "$work/root/usr/bin/gyrena"
check_closes_on_x "$work/root/usr/bin/gyrena"

echo "--- MIME types from the installed shared-mime-info package"
mkdir -p "$work/xdg/mime/packages" "$work/xdg-home"
cp "$work/root/usr/share/mime/packages/$id.xml" "$work/xdg/mime/packages/"
XDG_DATA_DIRS="$work/xdg:/usr/share" update-mime-database "$work/xdg/mime"
printf 'GyrenaDataFile\r\nLondon\r\nEngland\r\nNew York\r\nUSA\r\n' >"$work/saved-route"
printf 'GyrenaCityListFile\r\n1\r\nLondon,England,51,30,N,0,10,W\r\n' >"$work/some-cities"
printf 'not a route\r\n' >"$work/other.gdf"
printf 'London,England\r\n' >"$work/other.gcl"
printf 'London,England\r\n' >"$work/plain-text"
printf '<?xml version="1.0"?>\n<gpx version="1.1" xmlns="http://www.topografix.com/GPX/1/1"/>\n' \
  >"$work/voyage.gpx"
mime_of() {
  XDG_DATA_HOME="$work/xdg-home" XDG_DATA_DIRS="$work/xdg:/usr/share" \
    gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}
mime_failures=0
for pair in saved-route:application/x-gyrena-data some-cities:application/x-gyrena-city-list \
  other.gdf:application/x-gyrena-data other.gcl:application/x-gyrena-city-list \
  plain-text:text/plain voyage.gpx:application/gpx+xml; do
  file=${pair%%:*} want=${pair#*:}
  got=$(mime_of "$work/$file")
  if [[ "$got" == "$want" ]]; then
    echo "ok: $file is $got"
  else
    echo "FAIL: $file is '$got', not $want" >&2
    mime_failures=$((mime_failures + 1))
  fi
done
((mime_failures == 0))

echo "--- a data file opened from the desktop, as a double-click does"
mkdir -p "$work/xdg/applications"
cp "$work/root/usr/share/applications/$id.desktop" "$work/xdg/applications/"
update-desktop-database "$work/xdg/applications"
check_opens_from_desktop "$work/root/usr/bin/gyrena" "$work/xdg:/usr/share" \
  "$work/root/usr/bin:$PATH" "$work/sf-sydney.gdf"

echo "--- the Debian package"
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb="$work/deb/gyrena_${version}_${arch}.deb"
[[ -f "$deb" ]] || { echo "FAIL: cpack did not make ${deb##*/}" >&2; ls "$work/deb" >&2; exit 1; }
chmod 755 "$work/deb"
chmod 644 "$deb"
echo "${deb##*/}: $(stat -c %s "$deb") bytes"
dpkg-deb -I "$deb"
dpkg-deb -c "$deb"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
deb_failures=0
expect_field() {
  local got
  got=$(dpkg-deb -f "$deb" "$1")
  if [[ "$got" =~ $2 ]]; then
    echo "ok: $1: $got"
  else
    echo "FAIL: $1 is '$got'" >&2
    deb_failures=$((deb_failures + 1))
  fi
}
expect_field Package '^gyrena$'
expect_field Version "^${version//./\\.}\$"
expect_field Architecture "^${arch}\$"
expect_field Section '^science$'
expect_field Maintainer '^[^<>]+ <[^@<> ]+@[^@<> ]+>$'
# dpkg-shlibdeps ran: the libraries the programs link appear with their versions.
expect_field Depends 'libc6 \(>= [0-9.]+\)'
expect_field Depends 'libqt6widgets6 \(>= [0-9.~]+\)'
# Print… and its preview.
expect_field Depends 'libqt6printsupport6 \(>= [0-9.~]+\)'
expect_field Depends 'libstdc\+\+6 \(>= [0-9.]+\)'
((deb_failures == 0))
# No maintainer scripts: dpkg's triggers refresh the desktop caches.
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '^$' | LC_ALL=C sort | tr '\n' ' ')
[[ "$control" == "control md5sums " ]] || { echo "FAIL: control members: $control" >&2; exit 1; }
echo "ok: the control archive holds control and md5sums only"
# Every file lies under /usr, and the package holds exactly the installed tree.
if dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '^\./usr/' | grep -vx '\./'; then
  echo "FAIL: the package has files outside /usr" >&2
  exit 1
fi
dpkg-deb -x "$deb" "$work/debroot"
dpkg-deb -e "$deb" "$work/debcontrol"
(cd "$work/debroot" && md5sum --quiet -c "$work/debcontrol/md5sums")
echo "ok: md5sums match the files"
bash tests/packaging/check-tree.sh "$work/debroot/usr"
find "$work/debroot/usr/bin" -type f -exec file -b {} \; | grep -q 'not stripped' \
  && { echo "FAIL: the packaged programs are not stripped" >&2; exit 1; }
echo "ok: the packaged programs are stripped"

# The system-wide check installs and removes the package with apt-get. It never touches a
# gyrena package it did not install itself: with one present in any state, it is skipped.
status=$(dpkg-query -W -f='${Status}' gyrena 2>/dev/null || true)
if [[ $(id -u) -ne 0 ]]; then
  echo "skipped: installing the package with apt-get needs root"
elif [[ "${GYRENA_CI_SYSTEM_INSTALL:-1}" == 0 ]]; then
  echo "skipped: installing the package with apt-get (GYRENA_CI_SYSTEM_INSTALL=0)"
elif [[ -n "$status" && "$status" != *not-installed ]]; then
  echo "skipped: a gyrena package is already on this machine ($status); it is left as it is"
else
  echo "--- install the package with apt-get, run it, remove it"
  installed_by_us=1
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
  dpkg -L gyrena >"$work/owned"
  check_route /usr/bin/gyrena-route
  check_starts_offscreen /usr/bin/gyrena
  check_closes_on_x /usr/bin/gyrena
  check_opens_from_desktop /usr/bin/gyrena /usr/local/share:/usr/share "$PATH" "$work/sf-sydney.gdf"
  man -w gyrena-route >/dev/null && echo "ok: man finds gyrena-route(1)"
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq gyrena >/dev/null
  installed_by_us=0
  left=0
  while read -r path; do
    if [[ -f "$path" || -L "$path" ]]; then
      echo "FAIL: $path is still there after removal" >&2
      left=$((left + 1))
    fi
  done <"$work/owned"
  [[ ! -e /usr/share/gyrena ]] || { echo "FAIL: /usr/share/gyrena is still there" >&2; left=$((left + 1)); }
  status=$(dpkg-query -W -f='${Status}' gyrena 2>/dev/null || true)
  [[ -z "$status" || "$status" == *not-installed ]] \
    || { echo "FAIL: after removal dpkg says: $status" >&2; left=$((left + 1)); }
  ((left == 0))
  echo "ok: apt-get remove left none of the $(grep -c . "$work/owned") paths dpkg listed"
fi
echo "package stage passed"

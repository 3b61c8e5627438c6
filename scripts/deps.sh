#!/usr/bin/env bash
# Installs the Debian packages a task needs, when any is missing.
# Usage: scripts/deps.sh GROUP...   (groups: build run test fuzz bench gui assets package wine soak)
# The XML schemas the tests check files against are no install: scripts/schemas.sh fetches them.
set -euo pipefail

packages=()
for group in "$@"; do
  case "$group" in
    build)   packages+=(qt6-base-dev qt6-svg-dev cmake g++ ninja-build libgeographiclib-dev libpugixml-dev libs2-dev libhowardhinnant-date-dev tzdata libboost-graph-dev) ;;
    run)     packages+=(xvfb xauth) ;;
    test)    packages+=(locales gpsbabel libxml2-utils librsvg2-bin poppler-utils python3-ephem tzdata)
             # node runs the npm packages the almanac is compared with (scripts/npm-references.sh)
             command -v node >/dev/null 2>&1 || packages+=(nodejs)
             command -v npm >/dev/null 2>&1 || packages+=(npm) ;;
    fuzz)    packages+=(clang-14 libclang-rt-14-dev) ;;
    bench)   packages+=(libbenchmark-dev geographiclib-tools) ;;
    gui)     packages+=(xvfb xauth dbus at-spi2-core gir1.2-atspi-2.0 python3-gi xdotool imagemagick) ;;
    assets)  packages+=(python3)
             # a Node.js that already brings its own npm conflicts with Debian's npm package
             command -v npm >/dev/null 2>&1 || packages+=(npm) ;;
    package) packages+=(desktop-file-utils appstream dpkg-dev file libxml2-utils shared-mime-info libglib2.0-bin groff-base man-db xdotool python3) ;;
    wine)    packages+=(g++-mingw-w64-x86-64 wine64) ;;
    soak)    packages+=(stress-ng) ;;
    *) echo "deps.sh: unknown group '$group'" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "Missing Debian packages: ${missing[*]}; install them as root (apt-get install ${missing[*]})." >&2
  exit 1
fi
echo "Installing Debian packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# Another install running on the same machine holds dpkg's lock for a while: wait for it.
apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}"

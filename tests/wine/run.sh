#!/usr/bin/env bash
# Cross-compiles the Windows registry code with GetKeyValue and its test program (mingw-w64)
# and runs the test under Wine against Wine's real registry. Usage: tests/wine/run.sh [BUILD]
# Exit 0 when every check passed; 1 when a check failed; 77 when Wine cannot start here.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath -m "${1:-build/wine}")
mkdir -p "$build"

wine=/usr/lib/wine/wine64
compiler=x86_64-w64-mingw32-g++-posix
for tool in "$wine" "$(command -v $compiler || true)"; do
  if [[ ! -x "$tool" ]]; then
    echo "tests/wine: missing ${tool:-$compiler}; install the 'wine' group of scripts/deps.sh" >&2
    exit 1
  fi
done

"$compiler" -std=c++20 -O1 -Wall -Wextra -Werror -static -I. \
  tests/wine/tst_registry_wine.cpp platform/registry_win.cpp platform/getkeyvalue.cpp \
  -ladvapi32 -o "$build/tst_registry_wine.exe"

export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko installers in a fresh prefix
export WINEARCH=win64
unset DISPLAY                            # nothing here needs a window

# A fresh prefix each run: the first start creates it, which takes a few seconds.
rm -rf "$WINEPREFIX"
if ! boot_log=$(timeout 300 "$wine" wineboot --init 2>&1); then
  echo "$boot_log" | tail -20 >&2
  echo "tests/wine: SKIPPED - Wine cannot start on this machine (wineboot failed, see above)" >&2
  exit 77
fi

set +e
timeout 120 "$wine" "$build/tst_registry_wine.exe" | tr -d '\r'
status=${PIPESTATUS[0]}
set -e
timeout 60 /usr/lib/wine/wineserver -k 2>/dev/null || true
exit "$status"

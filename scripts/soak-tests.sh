#!/usr/bin/env bash
# Runs one CTest suite again and again while every core is kept busy, to shake out tests that
# pass only on a quiet machine. Prints each failed run with its log and ends with the line
# "N passed, N failed"; the exit status is 1 when any run failed.
#
# Usage: scripts/soak-tests.sh SUITE RUNS        e.g. scripts/soak-tests.sh tst_dialogs 50
#
# GYRENA_BUILD_DIR names the build tree (default build/ci, configured with the ci preset when it
# is missing). Only the suite's own target is built, and only when it is out of date. The load
# is stress-ng (bash scripts/deps.sh soak installs it) or, without it, one busy loop per core;
# it is stopped however the script ends. Not a CI stage.
set -uo pipefail
cd "$(dirname "$0")/.."

if (($# != 2)) || ! [[ "$2" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 SUITE RUNS" >&2
  exit 2
fi
suite=$1
runs=$2
build=${GYRENA_BUILD_DIR:-build/ci}

if [[ ! -f "$build/CMakeCache.txt" ]]; then
  if [[ "$build" != build/ci ]]; then
    echo "soak-tests: $build is not a configured build tree" >&2
    exit 2
  fi
  cmake --preset ci >/dev/null || exit 2
fi
cmake --build "$build" --target "$suite" >/dev/null || {
  echo "soak-tests: could not build $suite in $build" >&2
  exit 2
}

cores=$(nproc)
load=()
stop_load() {
  ((${#load[@]})) && kill "${load[@]}" 2>/dev/null
  wait 2>/dev/null
  load=()
}
trap stop_load EXIT
trap 'exit 130' INT TERM
if command -v stress-ng >/dev/null; then
  stress-ng --cpu "$cores" --timeout 24h --quiet &
  load+=($!)
else
  echo "soak-tests: stress-ng not found (bash scripts/deps.sh soak); loading with busy loops"
  for ((i = 0; i < cores; i++)); do
    (while :; do :; done) &
    load+=($!)
  done
fi
echo "soak-tests: $suite, $runs runs, $cores busy cores"

log=$(mktemp)
passed=0
failed=0
for ((run = 1; run <= runs; run++)); do
  if ctest --test-dir "$build" -R "^${suite}\$" --no-tests=error --output-on-failure >"$log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "=== run $run of $suite failed ==="
    cat "$log"
  fi
done
rm -f "$log"
echo "$passed passed, $failed failed"
((failed == 0))

#!/usr/bin/env bash
# The real program driven end to end through the accessibility bus, as a screen reader does:
# a route typed and picked, confirmed and computed, then the exit questions; then the route
# window under a German locale: its table and summary as a screen reader reads them, its spacing
# and a GPX export checked against the GPX 1.1 schema and read back by gpsbabel; then Find Place:
# "funch" typed, Funchal set as the end, the route computed; then a voyage: opened from the
# command line, a place added, a composite leg and a departure set, saved, opened, exported;
# then the chart: zoom, fit, a place added from the map's menu, dragged, and undone; then a
# voyage by sea through Suez, sent round the Cape with Suez avoided, and undone.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/deps.sh build gui test
[[ -f build/ci/CMakeCache.txt ]] || cmake --preset ci
# Up to date after the build stage; builds the program when this stage runs alone.
cmake --build --preset ci --target gyrena
bash scripts/schemas.sh build/ci/schemas
export GYRENA_SCHEMA_DIR=build/ci/schemas
# Debian's PyGObject exists only for the system interpreter.
/usr/bin/python3 tests/e2e/test_route.py build/ci/app/gyrena
/usr/bin/python3 tests/e2e/test_routemap.py build/ci/app/gyrena
/usr/bin/python3 tests/e2e/test_exports.py build/ci/app/gyrena
/usr/bin/python3 tests/e2e/test_findplace.py build/ci/app/gyrena
/usr/bin/python3 tests/e2e/test_voyage.py build/ci/app/gyrena
/usr/bin/python3 tests/e2e/test_chart.py build/ci/app/gyrena
/usr/bin/python3 tests/e2e/test_searoute.py build/ci/app/gyrena

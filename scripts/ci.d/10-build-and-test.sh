#!/usr/bin/env bash
# The release build with warnings as errors, and every QtTest suite through CTest; then the core
# alone (GYRENA_BUILD_UI=OFF): gyrena-route and the suites of geo/ and io/ build and pass without
# Qt Widgets, as the layers promise.
set -euo pipefail
bash scripts/deps.sh build test bench
cmake --preset ci
cmake --build --preset ci
ctest --preset ci
cmake --preset core
cmake --build --preset core
ctest --preset core

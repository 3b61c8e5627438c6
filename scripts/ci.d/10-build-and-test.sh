#!/usr/bin/env bash
# The release build with warnings as errors, and every QtTest suite through CTest.
set -euo pipefail
bash scripts/deps.sh build test bench
cmake --preset ci
cmake --build --preset ci
ctest --preset ci

#!/usr/bin/env bash
# The whole test suite again, built with the address and undefined-behaviour sanitizers
# (preset asan). Any report stops the test that made it and fails the stage.
set -euo pipefail
bash scripts/deps.sh build test
started=$SECONDS

cmake --preset asan
cmake --build --preset asan

# halt_on_error: the first report ends the test, so CTest sees it fail. Leaks are checked too:
# what Qt, fontconfig and GLib keep for the life of the process stays reachable, so the suite
# needs no suppressions; add tests/sanitizers/lsan.supp (and LSAN_OPTIONS=suppressions=...)
# only for a leak proven to be a library's.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --preset asan --parallel "$(nproc)"

echo "20-asan: $((SECONDS - started)) s"

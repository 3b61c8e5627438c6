#!/usr/bin/env bash
# Builds everything and runs every test: each stage in scripts/ci.d runs in name order, and
# the first one that fails stops the run. The last line counts the stages.
set -uo pipefail
cd "$(dirname "$0")/.."
passed=0
start=$SECONDS
for stage in scripts/ci.d/*.sh; do
  echo "=== ${stage#scripts/ci.d/} ==="
  stage_start=$SECONDS
  if ! bash "$stage"; then
    echo "=== ${stage#scripts/ci.d/} FAILED after $((SECONDS - stage_start)) s ==="
    echo "stages: $passed passed, 1 failed"
    exit 1
  fi
  echo "=== ${stage#scripts/ci.d/} passed in $((SECONDS - stage_start)) s ==="
  passed=$((passed + 1))
done
echo "=== all stages passed in $((SECONDS - start)) s ==="
echo "stages: $passed passed, 0 failed"

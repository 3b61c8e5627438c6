#!/usr/bin/env bash
# Builds everything and runs every test: each stage in scripts/ci.d runs in name order, and
# the first one that fails stops the run.
set -euo pipefail
cd "$(dirname "$0")/.."
for stage in scripts/ci.d/*.sh; do
  echo "=== ${stage#scripts/ci.d/} ==="
  bash "$stage"
done
echo "=== all stages passed ==="

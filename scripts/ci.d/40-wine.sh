#!/usr/bin/env bash
# The Windows registry code against a real registry: cross-compiled with mingw-w64, run under
# Wine. Skipped, loudly, only where Wine cannot start at all.
set -euo pipefail
bash scripts/deps.sh wine
set +e
bash tests/wine/run.sh build/wine
status=$?
set -e
if [[ $status -eq 77 ]]; then
  echo "################################################################################"
  echo "## 40-wine: SKIPPED - Wine cannot start here; the registry test did not run.  ##"
  echo "################################################################################"
  exit 0
fi
exit "$status"

#!/usr/bin/env bash
# Builds Gyrena (release) and starts it; under a virtual display when there is no display.
# Only the programs are built, gyrena and gyrena-route (all that `cmake --install build/release`
# installs): the test suites are left for scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh build
cmake --preset release >/dev/null
cmake --build --preset release --target gyrena gyrena-route
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  bash scripts/deps.sh run
  echo "No display found: starting Gyrena on a virtual X display (xvfb-run)."
  exec xvfb-run -a -s '-screen 0 1280x1024x24 -dpi 96' build/release/app/gyrena "$@"
fi
exec build/release/app/gyrena "$@"

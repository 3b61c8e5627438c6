#!/usr/bin/env bash
# Redraws the icon (SVG and PNGs) and the worked-example picture from tools/render-pictures
# into assets/. Run it after changing icon.cpp or mathexample.cpp there, and commit the
# pictures it writes. Usage: assets/render.sh [BUILD-FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/render-pictures}
cmake -S tools/render-pictures -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
QT_QPA_PLATFORM=offscreen "$build/render-pictures" assets
# The windows' icon: 256 colours, palette chosen from the picture (ImageMagick, by full path).
/usr/bin/convert assets/icons/gyrena-32.png -strip -colors 256 -define png:exclude-chunks=date,time \
  PNG8:assets/icons/gyrena-32.png
file assets/math-example.png assets/icons/gyrena-32.png

#!/usr/bin/env bash
# Under an X display: starts the program in $1, waits for its window, closes the window the
# way a window manager's close button does and waits for the program to end. Exits with
# the program's status (124 when it did not end within five seconds of the close).
set -euo pipefail
"$1" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1) || true
if [[ -z "$window" ]]; then
  echo "run-and-close.sh: no window of $1 appeared" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
fi
sleep 0.5 # let the window finish showing before it is asked to close
/usr/bin/python3 "$(dirname "$0")/close-window.py" "$window"
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "run-and-close.sh: $1 is still running five seconds after its window was closed" >&2
  kill "$pid"
  wait "$pid" || true
  exit 124
fi
wait "$pid"

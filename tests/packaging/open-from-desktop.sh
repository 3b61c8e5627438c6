#!/usr/bin/env bash
# Under an X display: opens the data file $2 as a file manager's double-click does, with
# `gio open` (the default application of its MIME type, from the desktop entries and MIME
# types on XDG_DATA_DIRS), and expects a window of the program $1 whose title names that
# file, which the program shows once it has read the route. Then closes the window as a window
# manager's close button does and expects the program to end. Every wait is bounded; a program
# that is still running at the end is killed.
set -euo pipefail
program=$(readlink -f "$1")
file=$2
name=$(basename "$file")
pid=

finish() {
  if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
  fi
}
trap finish EXIT

echo "default application for $(gio info -a standard::content-type "$file" |
  sed -n 's/^ *standard::content-type: //p'): $(gio mime "$(gio info -a standard::content-type "$file" |
  sed -n 's/^ *standard::content-type: //p')" | sed -n 's/^Default application for .*: //p')"
timeout 20 gio open "$file"
# The caption is "  [ <full path>]"; xdotool takes a regular expression.
pattern="${name//./\\.}\]\$"
window=$(timeout 20 xdotool search --sync --onlyvisible --name "$pattern" | head -n 1) || true
if [[ -z "$window" ]]; then
  echo "open-from-desktop.sh: no window titled with $name appeared within 20 s" >&2
  # A program started without that title is found by its class and ended all the same.
  for other in $(xdotool search --class gyrena 2>/dev/null || true); do
    pid=$(xdotool getwindowpid "$other" 2>/dev/null || true)
    echo "  a window of pid ${pid:-?} is titled '$(xdotool getwindowname "$other" 2>/dev/null)'" >&2
    finish
  done
  exit 1
fi
pid=$(xdotool getwindowpid "$window")
title=$(xdotool getwindowname "$window")
started=$(readlink -f "/proc/$pid/exe")
if [[ "$started" != "$program" ]]; then
  echo "open-from-desktop.sh: the window '$title' belongs to $started, not $program" >&2
  exit 1
fi
echo "window of $started: '$title'"
sleep 0.5 # let the window finish showing before it is asked to close
/usr/bin/python3 "$(dirname "$0")/close-window.py" "$window"
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "open-from-desktop.sh: $program is still running five seconds after its window was closed" >&2
  exit 124
fi
pid=

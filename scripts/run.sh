#!/usr/bin/env bash
# The main job: builds the release preset and opens the calendar in a window.
# Without a display it runs the sample script on the headless runtime instead,
# prints the state, and renders a screenshot of the window offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target jornavista-host
host=build/release/apps/jornavista-host/jornavista-host
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$host" show "$@"
fi
echo "no display: running samples/november-2003.jvs headless (for a window: xvfb-run -a $host show)"
"$host" samples/november-2003.jvs
QT_QPA_PLATFORM=offscreen "$host" render build/jornavista.png --script samples/november-2003.jvs >/dev/null
echo "screenshot of the window: build/jornavista.png"

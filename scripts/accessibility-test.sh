#!/usr/bin/env bash
# The calendar through a screen reader's eyes: runs tests/accessibility/atspi_client.py,
# an AT-SPI client in a process of its own, against `jornavista-host show` in a
# window of its own X server (Xvfb) and D-Bus session. The offscreen platform never
# reaches the accessibility bus, so this needs the xcb platform.
# Usage: scripts/accessibility-test.sh [HOST]   (default: the release build's host)
set -euo pipefail
cd "$(dirname "$0")/.."
host=${1:-build/release/apps/jornavista-host/jornavista-host}
[ -x "$host" ] || { echo "accessibility-test: no host at $host; build the release preset first" >&2; exit 1; }
host=$(realpath "$host")
# The D-Bus daemons complain that they cannot raise their file limit; nothing the
# test needs.
exec xvfb-run -a -s "-screen 0 1024x768x24" \
  dbus-run-session -- /usr/bin/python3 -W ignore::DeprecationWarning tests/accessibility/atspi_client.py "$host" \
  2> >(grep -v -e "Failed to set fd limit" -e "XDG_RUNTIME_DIR not set" >&2)

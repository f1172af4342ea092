#!/usr/bin/env bash
# The other containers of the Windows stage: Jornavista.ocx quick-activated by a
# form of our own (design mode, then user mode), in the system's property frame and
# as its own property page in a window of ours, and embedded in a Wine RichEdit
# document; for each build named (default both: `windows`, 64-bit, and
# `windows-x86`, 32-bit), in one fresh 64-bit prefix with the 32-bit Wine beside it.
# Each build's ole_checks.exe asks for each click, typed text and screenshot on its
# standard output (tests/windows/driver.h); this script does them with xdotool and
# import and answers "done". Expects the presets built (scripts/windows-tests.sh).
# Runs under Xvfb (started here when needed). Screenshots stay in
# build/PRESET/screenshots/ole.
# Usage: scripts/windows-ole-tests.sh [windows|windows-x86 ...]
set -euo pipefail
cd "$(dirname "$0")/.."

JV_STAGE=ole
# shellcheck source=scripts/windows-driver.sh
. scripts/windows-driver.sh

register_builds "in the prefix of the OLE checks"

status=0
for build in "${builds[@]}"; do
  echo "=== OLE checks: build/$build"
  shots=build/$build/screenshots/ole
  shots_win=$(screenshot_folder "$shots")
  # +debugstr shows the calls the containers made (traced while JV_TRACE is set).
  JV_TRACE=1 WINEDEBUG=-all,+debugstr drive "$build" "$shots" "build/$build/tests/windows/ole_checks.exe" \
      "$shots_win" || status=1
  echo "--- the calls the containers made on the control and its page (build/$build), in order:"
  grep -o 'Jornavista: [^"\\]*' "$work/trace.log" | sed 's/^Jornavista: /    /' | uniq -c | head -150 || true
  rm -f "$shots"/*.bmp
  echo "screenshots: $shots ($(ls "$shots" | tr '\n' ' '))"
done
exit $status

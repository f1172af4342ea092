#!/usr/bin/env bash
# The container part of the Windows stage: Jornavista.ocx on a form of Wine's own
# ATL container under Xvfb, with real mouse clicks and keys from xdotool and
# screenshots from ImageMagick's import, for each build named (default both: the
# `windows` preset's 64-bit library and the `windows-x86` preset's 32-bit one), in
# one fresh 64-bit prefix with the 32-bit Wine beside it. Each build's library is
# registered by its own bitness's regsvr32, and its container_checks.exe (which
# loads that bitness's atl.dll) asks for each click, key and screenshot on its
# standard output; this script does them and answers "done". Then the build's
# accessibility_checks.exe, a screen reader's client that hosts the control in a
# second process and reads it through oleacc.dll, asks for a click the same way.
# Expects the presets
# built (scripts/windows-tests.sh). Run it under xvfb-run, or let it start one.
# The screenshots stay in build/PRESET/screenshots.
# Usage: scripts/windows-container-tests.sh [windows|windows-x86 ...]
set -euo pipefail
cd "$(dirname "$0")/.."

JV_STAGE=container
# shellcheck source=scripts/windows-driver.sh
. scripts/windows-driver.sh

# JV_CONTAINER_MSI names an installer: the control then comes from the files and
# the registration that the installer put in place (scripts/msi-tests.sh).
if [ -n "${JV_CONTAINER_MSI:-}" ]; then
  wine msiexec /i "$(wine winepath -w "$JV_CONTAINER_MSI" | tr -d '\r')" /qn ||
    { echo "FAIL msiexec /i $JV_CONTAINER_MSI in the container prefix"; exit 1; }
else
  register_builds "in the container prefix"
fi

status=0
for build in "${builds[@]}"; do
  echo "=== container checks: build/$build"
  shots=build/$build/screenshots
  shots_win=$(screenshot_folder "$shots")
  # +debugstr shows the calls the container made on the control (the library
  # traces them with OutputDebugString when JV_TRACE is set).
  run_status=0
  JV_TRACE=1 WINEDEBUG=-all,+debugstr drive "$build" "$shots" "build/$build/tests/windows/container_checks.exe" \
      "$shots_win" || run_status=1
  echo "--- the calls Wine's ATL container made on the control, in order:"
  grep -o 'Jornavista: [^"\\]*' "$work/trace.log" | sed 's/^Jornavista: /    /' | uniq -c | head -60 || true
  rm -f "$shots"/*.bmp.tmp
  # The BMP copies were for the program's pixel probes; the PNGs are what to look at.
  convert "$shots/oledraw.bmp" "$shots/oledraw.png" 2>/dev/null && rm -f "$shots"/*.bmp
  echo "screenshots: $shots ($(ls "$shots" | tr '\n' ' '))"
  [ $run_status -eq 0 ] || status=1
  # A screen reader's view: the client reads the control through oleacc.dll from
  # a process of its own, the control hosted by the same program in another.
  echo "=== accessibility checks: build/$build"
  drive "$build" "$shots" "build/$build/tests/windows/accessibility_checks.exe" || status=1
done
exit $status

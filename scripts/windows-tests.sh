#!/usr/bin/env bash
# The Windows stage: cross-builds the `windows` preset with MinGW-w64 and runs its
# checks under Wine, in a 64-bit prefix made for this run (no display) and removed
# after it. Prints how long each step took.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "=== windows stage"
stage_start=$SECONDS
step_start=$SECONDS
took() {
  echo "--- $1: $((SECONDS - step_start)) s"
  step_start=$SECONDS
}

JV_EXTRA_PACKAGES="@windows ${JV_EXTRA_PACKAGES:-}" scripts/install-deps.sh
took "packages"

echo "=== windows stage: configure and build"
cmake --preset windows >/dev/null
cmake --build --preset windows
took "build"

echo "=== windows stage: fresh wine prefix"
export WINEARCH=win64 WINEDEBUG=-all
# A bare prefix: no Mono or Gecko installers, which would wait for a display.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/jv-wine.XXXXXX")
export WINEPREFIX
cleanup() {
  # Ends only this prefix's server, then drops the prefix.
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
# Without the 32-bit Wine, wineboot says it cannot start syswow64's rundll32; the
# 64-bit prefix is complete all the same.
wine wineboot -i >"$WINEPREFIX/wineboot.log" 2>&1 || { cat "$WINEPREFIX/wineboot.log" >&2; exit 1; }
# The registry files appear only when the server exits; the system folder at once.
[ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] ||
  { echo "wineboot made no prefix" >&2; cat "$WINEPREFIX/wineboot.log" >&2; exit 1; }
took "prefix"

echo "=== windows stage: checks"
# The prefix is this run's own, so the checks may change the user's settings in it.
JV_SCRATCH_PREFIX=1 wine build/windows/tests/windows/windows_checks.exe
took "checks"
echo "=== windows stage: done in $((SECONDS - stage_start)) s"

#!/usr/bin/env bash
# The Windows benchmark: Jornavista.ocx in Wine's ATL container against the
# system's month-calendar control, in one process under Xvfb, for the 64-bit
# library (`windows` preset) and then the 32-bit one (`windows-x86`), each with
# its own bitness's programs, in one fresh prefix with the 32-bit Wine beside the
# 64-bit one. Expects both presets built. Prints both bitnesses' figures.
# Usage: scripts/windows-bench.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${JV_UNDER_XVFB:-}" ]; then
  JV_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
for build in windows windows-x86; do
  [ -f "build/$build/bench/win32/month_calendar_bench.exe" ] ||
    { echo "build/$build is not built: cmake --preset $build && cmake --build --preset $build" >&2; exit 1; }
done
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/jv-wine-bench.XXXXXX")
export WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
wine wineboot -i >/dev/null 2>&1
status=0
for build in windows windows-x86; do
  # The benchmark registers the library for its run and unregisters it after.
  wine "build/$build/bench/win32/month_calendar_bench.exe" \
    "$(wine winepath -w "build/$build/housing/Jornavista.ocx" | tr -d '\r')" "${1:-200}" | tr -d '\r' || status=1
done
exit $status

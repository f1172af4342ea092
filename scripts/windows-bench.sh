#!/usr/bin/env bash
# The Windows benchmark: Jornavista.ocx in Wine's ATL container against the
# system's month-calendar control, in one process under Xvfb, in a fresh prefix.
# Expects the `windows` preset built. Usage: scripts/windows-bench.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${JV_UNDER_XVFB:-}" ]; then
  JV_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/jv-wine-bench.XXXXXX")
export WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
wine wineboot -i >/dev/null 2>&1
wine build/windows/bench/win32/month_calendar_bench.exe \
  "$(wine winepath -w build/windows/housing/Jornavista.ocx | tr -d '\r')" "${1:-200}" | tr -d '\r'

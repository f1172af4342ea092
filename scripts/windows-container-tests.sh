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

if [ -z "${JV_UNDER_XVFB:-}" ]; then
  JV_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(windows windows-x86)
export WINEARCH=win64 WINEDEBUG=-all
# A bare prefix: no Mono or Gecko installers.
export WINEDLLOVERRIDES="mscoree=;mshtml="
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/jv-wine-container.XXXXXX")
export WINEPREFIX
work=$(mktemp -d "${TMPDIR:-/tmp}/jv-container.XXXXXX")
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX" "$work"
}
trap cleanup EXIT
wine wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 1; }

# The loader and the system folder whose programs have the build's bitness
# (Debian's `wine` starts system programs 32-bit when the 32-bit Wine is there).
wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=wine
run_of() { [ "$1" = windows-x86 ] && echo wine || echo "$wine64"; }
system_of() { [ "$1" = windows-x86 ] && echo 'C:\windows\syswow64' || echo 'C:\windows\system32'; }

# JV_CONTAINER_MSI names an installer: the control then comes from the files and
# the registration that the installer put in place (scripts/msi-tests.sh).
if [ -n "${JV_CONTAINER_MSI:-}" ]; then
  wine msiexec /i "$(wine winepath -w "$JV_CONTAINER_MSI" | tr -d '\r')" /qn ||
    { echo "FAIL msiexec /i $JV_CONTAINER_MSI in the container prefix"; exit 1; }
else
  for build in "${builds[@]}"; do
    "$(run_of "$build")" "$(system_of "$build")\\regsvr32.exe" /s "build/$build/housing/Jornavista.ocx" ||
      { echo "FAIL regsvr32 of build/$build in the container prefix"; exit 1; }
  done
fi

# Runs one program of the build (under its bitness's loader) with the driver's
# answers: each "do" request on its standard output is done and answered "done"
# on its standard input through a FIFO this script keeps open; the rest of its
# output is passed on. Its standard error goes to $work/trace.log.
drive() {
  local build=$1 shots=$2
  shift 2
  rm -f "$work/answers"
  mkfifo "$work/answers"
  exec 3<>"$work/answers"
  local run_status=0
  "$(run_of "$build")" "$@" <&3 2>"$work/trace.log" | while IFS= read -r line; do
    line=${line%$'\r'}
    case "$line" in
      "do click "*)
        read -r _ _ x y n <<<"$line"
        xdotool mousemove "$x" "$y" click --repeat "${n:-1}" --delay 80 1
        echo done >&3 ;;
      "do key "*)
        read -r _ _ name x y <<<"$line"
        # The pointer stays over the control while the key goes down.
        xdotool mousemove "$x" "$y" key "$name"
        echo done >&3 ;;
      "do shot "*)
        name=${line#do shot }
        import -window root "$shots/$name.png"
        convert "$shots/$name.png" -type truecolor "BMP3:$shots/$name.bmp"
        echo done >&3 ;;
      *) echo "$line" ;;
    esac
  done || run_status=$?
  [ "${PIPESTATUS[0]:-0}" = 0 ] || run_status=1
  exec 3>&-
  return $run_status
}

status=0
for build in "${builds[@]}"; do
  echo "=== container checks: build/$build"
  shots=build/$build/screenshots
  rm -rf "$shots"
  mkdir -p "$shots"
  shots_win=$(wine winepath -w "$shots" | tr -d '\r')
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

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

if [ -z "${JV_UNDER_XVFB:-}" ]; then
  JV_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(windows windows-x86)
export WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/jv-wine-ole.XXXXXX")
export WINEPREFIX
work=$(mktemp -d "${TMPDIR:-/tmp}/jv-ole.XXXXXX")
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

for build in "${builds[@]}"; do
  "$(run_of "$build")" "$(system_of "$build")\\regsvr32.exe" /s "build/$build/housing/Jornavista.ocx" ||
    { echo "FAIL regsvr32 of build/$build in the prefix of the OLE checks"; exit 1; }
done

status=0
for build in "${builds[@]}"; do
  echo "=== OLE checks: build/$build"
  shots=build/$build/screenshots/ole
  rm -rf "$shots"
  mkdir -p "$shots"
  rm -f "$work/answers"
  mkfifo "$work/answers"
  exec 3<>"$work/answers"
  shots_win=$(wine winepath -w "$shots" | tr -d '\r')
  run_status=0
  # +debugstr shows the calls the containers made (traced while JV_TRACE is set).
  JV_TRACE=1 WINEDEBUG=-all,+debugstr "$(run_of "$build")" "build/$build/tests/windows/ole_checks.exe" \
      "$shots_win" <&3 2>"$work/trace.log" | while IFS= read -r line; do
    line=${line%$'\r'}
    case "$line" in
      "do click "*)
        read -r _ _ x y n <<<"$line"
        xdotool mousemove "$x" "$y" click --repeat "${n:-1}" --delay 80 1
        echo done >&3 ;;
      "do type "*)
        read -r _ _ x y text <<<"$line"
        # Into an edit box: a click, its text selected, the new text over it.
        xdotool mousemove "$x" "$y" click 1 sleep 0.2 key End shift+Home type --delay 40 "$text"
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
  [ $run_status -eq 0 ] || status=1
  echo "--- the calls the containers made on the control and its page (build/$build), in order:"
  grep -o 'Jornavista: [^"\\]*' "$work/trace.log" | sed 's/^Jornavista: /    /' | uniq -c | head -150 || true
  rm -f "$shots"/*.bmp
  echo "screenshots: $shots ($(ls "$shots" | tr '\n' ' '))"
done
exit $status

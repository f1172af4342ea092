#!/usr/bin/env bash
# The container part of the Windows stage: Jornavista.ocx on a form of Wine's own
# ATL container under Xvfb, in a fresh 64-bit prefix, with real mouse clicks and
# keys from xdotool and screenshots from ImageMagick's import. container_checks.exe
# asks for each click, key and screenshot on its standard output; this script does
# them and answers "done". Expects the `windows` preset built
# (scripts/windows-tests.sh). Run it under xvfb-run, or let it start one.
# The screenshots stay in build/windows/screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${JV_UNDER_XVFB:-}" ]; then
  JV_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

shots=build/windows/screenshots
rm -rf "$shots"
mkdir -p "$shots"
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

ocx=build/windows/housing/Jornavista.ocx
wine regsvr32 /s "$ocx" || { echo "FAIL regsvr32 in the container prefix"; exit 1; }

# The program's requests come on its standard output; the answers go to its
# standard input through a FIFO this script keeps open.
mkfifo "$work/answers"
exec 3<>"$work/answers"
shots_win=$(wine winepath -w "$shots" | tr -d '\r')
status=0
# +debugstr shows the calls the container made on the control (the library traces
# them with OutputDebugString when JV_TRACE is set).
JV_TRACE=1 WINEDEBUG=-all,+debugstr wine build/windows/tests/windows/container_checks.exe "$shots_win" <&3 \
    2>"$work/trace.log" | while IFS= read -r line; do
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
done || status=$?
[ "${PIPESTATUS[0]:-0}" = 0 ] || status=1
echo "--- the calls Wine's ATL container made on the control, in order:"
grep -o 'Jornavista: [^"\\]*' "$work/trace.log" | sed 's/^Jornavista: /    /' | uniq -c | head -60 || true
rm -f "$shots"/*.bmp.tmp
# The BMP copies were for the program's pixel probes; the PNGs are what to look at.
convert "$shots/oledraw.bmp" "$shots/oledraw.png" 2>/dev/null && rm -f "$shots"/*.bmp
echo "screenshots: $shots ($(ls "$shots" | tr '\n' ' '))"
exit $status

# What the Windows stages that drive a real window share, sourced by them: the
# script run again under Xvfb when it is not yet; the builds named on the command
# line (default both bitnesses), one fresh 64-bit prefix with the 32-bit Wine
# beside it (named after JV_STAGE), removed on exit; each build's loader and system
# folder (windows-common.sh); `register_builds`, each build's library registered by
# its own bitness's regsvr32; `screenshot_folder`; and `drive`, which runs a check
# program and does the clicks, keys, typing and screenshots it asks for.

if [ -z "${JV_UNDER_XVFB:-}" ]; then
  JV_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
# shellcheck source=scripts/windows-common.sh
. scripts/windows-common.sh

builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(windows windows-x86)
export WINEARCH=win64 WINEDEBUG=-all
# A bare prefix: no Mono or Gecko installers.
export WINEDLLOVERRIDES="mscoree=;mshtml="
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/jv-wine-$JV_STAGE.XXXXXX")
export WINEPREFIX
work=$(mktemp -d "${TMPDIR:-/tmp}/jv-$JV_STAGE.XXXXXX")
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX" "$work"
}
trap cleanup EXIT
wine wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 1; }

# Registers each build's library with its own bitness's regsvr32; WHERE names the
# prefix in the failure message.
register_builds() {
  local where=$1 build
  for build in "${builds[@]}"; do
    "$(run_of "$build")" "$(system_of "$build")\\regsvr32.exe" /s "build/$build/housing/Jornavista.ocx" ||
      { echo "FAIL regsvr32 of build/$build $where"; exit 1; }
  done
}

# Makes the folder DIR anew for a program's screenshots and prints its Windows path.
screenshot_folder() {
  rm -rf "$1"
  mkdir -p "$1"
  wine winepath -w "$1" | tr -d '\r'
}

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
  return $run_status
}

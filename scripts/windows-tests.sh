#!/usr/bin/env bash
# The Windows stage: cross-builds the `windows` (64-bit) and `windows-x86` (32-bit)
# presets with MinGW-w64 and runs their checks under Wine, in one 64-bit prefix
# with the 32-bit Wine beside it (WoW64; no display), made for this run and removed
# after it. For each bitness, with that bitness's own programs: the platform
# checks, then Jornavista.ocx as real clients use it (regsvr32 and reg, cscript
# with VBScript and JScript, a COM client in C++), and its unregistration. Then
# both libraries registered side by side, each bitness's client served by its own
# file, and either one unregistered leaving the other working. Then the control in
# Wine's ATL container under Xvfb, with real input, and read by an
# assistive-technology client through oleacc.dll, for both bitnesses
# (scripts/windows-container-tests.sh, a prefix of its own). Prints how long each
# step took.
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
for preset in windows windows-x86; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
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
wine wineboot -i >"$WINEPREFIX/wineboot.log" 2>&1 || { cat "$WINEPREFIX/wineboot.log" >&2; exit 1; }
# The registry files appear only when the server exits; the system folders at once.
# syswow64's programs are there only with the 32-bit Wine (wine32:i386).
for f in system32/kernel32.dll syswow64/kernel32.dll syswow64/regsvr32.exe syswow64/cscript.exe; do
  [ -f "$WINEPREFIX/drive_c/windows/$f" ] ||
    { echo "wineboot made no WoW64 prefix: no $f" >&2; cat "$WINEPREFIX/wineboot.log" >&2; exit 1; }
done
took "prefix"

# shellcheck source=scripts/windows-common.sh
. scripts/windows-common.sh
# The lines of an expected file that are for CLIENT: untagged lines, and lines
# tagged [CLIENT ...]; '#' lines are comments.
expected_for() {
  awk -v tag="$1" '/^#/ { next }
    /^\[/ { i = index($0, "] "); tags = " " substr($0, 2, i - 2) " ";
             if (index(tags, " " tag " ")) print substr($0, i + 2); next }
    { print }' "$2"
}

# What differs between the bitnesses: the build, the loader and the system folder
# whose programs have the bitness, the registry view, the type library's system
# kind, binutils.
bitness() {
  if [ "$1" = 64 ]; then
    build=build/windows run=$wine64 system='C:\windows\system32' view=/reg:64 syskind=win64
    objdump=x86_64-w64-mingw32-objdump
  else
    build=build/windows-x86 run=wine system='C:\windows\syswow64' view=/reg:32 syskind=win32
    objdump=i686-w64-mingw32-objdump
  fi
  ocx=$build/housing/Jornavista.ocx
  server=$(wine winepath -w "$ocx" | tr -d '\r')
}
regsvr32() { "$run" "$system\\regsvr32.exe" "$@"; }
reg() { "$run" "$system\\reg.exe" "$@"; }

clsid='{0B40D233-B738-4C5D-89F6-6B4092C26CC0}'
libid='{45292B49-FDD8-480A-8486-8D677E004CE9}'
keys=("HKCR\\CLSID\\$clsid" 'HKCR\JornavistaControl.ctrJornavista' 'HKCR\JornavistaControl.ctrJornavista.1'
      "HKCR\\TypeLib\\$libid" 'HKCR\Interface\{D2B9A7BF-7336-46FF-8CA2-221061751233}'
      'HKCR\Interface\{4198655C-AF18-4462-BF75-82F406D017D8}' 'HKCR\CLSID\{0E7E0208-3698-4DDA-88A8-9138DB51F9E2}')

# Nothing of ours anywhere in the classes, in either registry view: the names and
# the identifiers of every key above.
nothing_left() {
  local left=0 v
  for v in /reg:64 /reg:32; do
    wine reg export HKCR "$(wine winepath -w "$WINEPREFIX/classes.reg" | tr -d '\r')" /y "$v" >/dev/null
    if iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/classes.reg" |
        grep -i -E 'jornavista|0B40D233|45292B49|D2B9A7BF|4198655C|0E7E0208'; then
      fail "HKEY_CLASSES_ROOT ($v) still names the control $1"
      left=1
    fi
  done
  [ $left -eq 0 ] && pass "no key of ours is left $1"
}

for bits in 64 32; do
  bitness $bits
  echo "=== windows stage, $bits-bit: checks"
  # The prefix is this run's own, so the checks may change the user's settings in it.
  if JV_SCRATCH_PREFIX=1 "$run" "$build/tests/windows/windows_checks.exe"; then
    pass "$bits-bit windows_checks"
  else
    fail "$bits-bit windows_checks"
  fi
  took "$bits-bit checks"

  echo "=== windows stage, $bits-bit: the library file"
  exports=$($objdump -p "$ocx" |
    awk '/\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && NF == 0 { on = 0 } on { print $NF }' | sort | tr '\n' ' ')
  if [ "$exports" = "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer " ]; then
    pass "$bits-bit Jornavista.ocx exports exactly the four entry points, by their plain names"
  else
    fail "$bits-bit Jornavista.ocx exports: $exports"
  fi
  # Loads in a bare system: no DLL of the MinGW runtime is imported.
  imports=$($objdump -p "$ocx" | awk '/DLL Name:/ { print $3 }' | sort | tr '\n' ' ')
  case "$imports" in
    *libstdc++*|*libgcc*|*libwinpthread*) fail "$bits-bit Jornavista.ocx imports the MinGW runtime: $imports" ;;
    *) pass "$bits-bit Jornavista.ocx imports only system libraries: $imports" ;;
  esac
  took "$bits-bit library file"

  echo "=== windows stage, $bits-bit: registration"
  if regsvr32 /s "$ocx"; then pass "$bits-bit regsvr32 registers"; else fail "$bits-bit regsvr32 exited $?"; fi
  query=$(for k in "${keys[@]}"; do reg query "$k" /s "$view"; done | tr -d '\r')
  expected=$(cat tests/windows/registry.expected)
  expected=${expected//@SERVERDIR@/"${server%\\*}"}
  expected=${expected//@SERVER@/"$server"}
  expected=${expected//@SYSKIND@/"$syskind"}
  if [ "$query" = "$expected" ]; then
    pass "$bits-bit reg query shows the class, its ProgIDs, the type library and the interfaces"
  else
    fail "$bits-bit: the registry differs from tests/windows/registry.expected:"
    diff <(echo "$expected") <(echo "$query") || true
  fi
  took "$bits-bit registration"

  echo "=== windows stage, $bits-bit: scripts"
  for script in members.vbs members.js; do
    lang=${script##*.}
    out=$("$run" "$system\\cscript.exe" //nologo "$(wine winepath -w "tests/windows/$script" | tr -d '\r')" 2>&1 |
      tr -d '\r') || true
    if [ "$out" = "$(expected_for "$lang" tests/windows/members.expected)" ]; then
      pass "$bits-bit cscript $script: every line as expected"
    else
      fail "$bits-bit cscript $script differs from tests/windows/members.expected:"
      diff <(expected_for "$lang" tests/windows/members.expected) <(echo "$out") || true
    fi
  done
  took "$bits-bit scripts"

  echo "=== windows stage, $bits-bit: COM client"
  if "$run" "$build/tests/windows/component_checks.exe" "$server" \
      "$(wine winepath -w tests/windows/typelib.expected.json | tr -d '\r')"; then
    pass "$bits-bit component_checks"
  else
    fail "$bits-bit component_checks"
  fi
  took "$bits-bit COM client"

  echo "=== windows stage, $bits-bit: unregistration"
  if regsvr32 /u /s "$ocx"; then pass "$bits-bit regsvr32 /u unregisters"; else fail "$bits-bit regsvr32 /u exited $?"; fi
  nothing_left "after the $bits-bit regsvr32 /u"
  if regsvr32 /u /s "$ocx"; then pass "$bits-bit: a second regsvr32 /u succeeds"; else fail "$bits-bit: a second regsvr32 /u exited $?"; fi
  took "$bits-bit unregistration"
done

echo "=== windows stage: both bitnesses side by side"
# Each client is served by its own bitness's file, finds the type library under
# any locale and calls the instance from the multithreaded apartment; a client
# whose bitness's library is unregistered finds no class.
# client BITS present|absent WHEN
client() {
  bitness "$1"
  if [ "$2" = absent ]; then
    if "$run" "$build/tests/windows/bitness_checks.exe" "$server" --absent; then
      pass "$1-bit client finds no class ($3)"
    else
      fail "$1-bit client finds no class ($3)"
    fi
  elif "$run" "$build/tests/windows/bitness_checks.exe" "$server"; then
    pass "$1-bit client is served by its own library ($3)"
  else
    fail "$1-bit client is served by its own library ($3)"
  fi
}
register() { bitness "$1"; regsvr32 "${@:2}" /s "$ocx" || fail "$1-bit regsvr32 $* exited $?"; }
register 64
register 32
client 64 present "both registered"
client 32 present "both registered"
register 32 /u
client 64 present "the 32-bit library unregistered"
client 32 absent "the 32-bit library unregistered"
register 32
register 64 /u
client 32 present "the 64-bit library unregistered"
client 64 absent "the 64-bit library unregistered"
register 32 /u
nothing_left "after both are unregistered"
took "side by side"

echo "=== windows stage: the control in Wine's ATL container and to a screen reader, under Xvfb"
if scripts/windows-container-tests.sh; then
  pass "container_checks and accessibility_checks"
else
  fail "container_checks and accessibility_checks"
fi
took "container"

echo "=== windows stage: quick activation, the property page, RichEdit, under Xvfb"
if scripts/windows-ole-tests.sh; then
  pass "ole_checks"
else
  fail "ole_checks"
fi
took "ole containers"

echo "=== windows stage: done in $((SECONDS - stage_start)) s"
echo "windows_stage: $passes passed, $failures failed"
[ $failures -eq 0 ]

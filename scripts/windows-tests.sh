#!/usr/bin/env bash
# The Windows stage: cross-builds the `windows` preset with MinGW-w64 and runs its
# checks under Wine, in a 64-bit prefix made for this run (no display) and removed
# after it: the platform checks, then Jornavista.ocx as real clients use it
# (regsvr32 and reg, cscript with VBScript and JScript, a COM client in C++), and
# its unregistration; then the control in Wine's ATL container under Xvfb, with
# real input (scripts/windows-container-tests.sh, a prefix of its own). Prints how
# long each step took.
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

passes=0 failures=0
fail() {
  echo "FAIL $1"
  failures=$((failures + 1))
}
pass() {
  echo "ok   $1"
  passes=$((passes + 1))
}
# The lines of an expected file that are for CLIENT: untagged lines, and lines
# tagged [CLIENT ...]; '#' lines are comments.
expected_for() {
  awk -v tag="$1" '/^#/ { next }
    /^\[/ { i = index($0, "] "); tags = " " substr($0, 2, i - 2) " ";
             if (index(tags, " " tag " ")) print substr($0, i + 2); next }
    { print }' "$2"
}

echo "=== windows stage: the library file"
ocx=build/windows/housing/Jornavista.ocx
exports=$(x86_64-w64-mingw32-objdump -p "$ocx" |
  awk '/\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && NF == 0 { on = 0 } on { print $NF }' | sort | tr '\n' ' ')
if [ "$exports" = "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer " ]; then
  pass "Jornavista.ocx exports exactly the four entry points"
else
  fail "Jornavista.ocx exports: $exports"
fi
# Loads in a bare system: no DLL of the MinGW runtime is imported.
imports=$(x86_64-w64-mingw32-objdump -p "$ocx" | awk '/DLL Name:/ { print $3 }' | sort | tr '\n' ' ')
case "$imports" in
  *libstdc++*|*libgcc*|*libwinpthread*) fail "Jornavista.ocx imports the MinGW runtime: $imports" ;;
  *) pass "Jornavista.ocx imports only system libraries: $imports" ;;
esac
took "library file"

echo "=== windows stage: registration"
server=$(wine winepath -w "$ocx" | tr -d '\r')
clsid='{0B40D233-B738-4C5D-89F6-6B4092C26CC0}'
libid='{45292B49-FDD8-480A-8486-8D677E004CE9}'
keys=("HKCR\\CLSID\\$clsid" 'HKCR\JornavistaControl.ctrJornavista' 'HKCR\JornavistaControl.ctrJornavista.1'
      "HKCR\\TypeLib\\$libid" 'HKCR\Interface\{D2B9A7BF-7336-46FF-8CA2-221061751233}'
      'HKCR\Interface\{4198655C-AF18-4462-BF75-82F406D017D8}')
if wine regsvr32 /s "$ocx"; then pass "regsvr32 registers"; else fail "regsvr32 exited $?"; fi
query=$(for k in "${keys[@]}"; do wine reg query "$k" /s; done | tr -d '\r')
expected=$(cat tests/windows/registry.expected)
expected=${expected//@SERVERDIR@/"${server%\\*}"}
expected=${expected//@SERVER@/"$server"}
if [ "$query" = "$expected" ]; then
  pass "reg query shows the class, its ProgIDs, the type library and the interfaces"
else
  fail "the registry differs from tests/windows/registry.expected:"
  diff <(echo "$expected") <(echo "$query") || true
fi
took "registration"

echo "=== windows stage: scripts"
for script in members.vbs members.js; do
  lang=${script##*.}
  out=$(wine cscript //nologo "$(wine winepath -w "tests/windows/$script" | tr -d '\r')" 2>&1 | tr -d '\r') || true
  if [ "$out" = "$(expected_for "$lang" tests/windows/members.expected)" ]; then
    pass "cscript $script: every line as expected"
  else
    fail "cscript $script differs from tests/windows/members.expected:"
    diff <(expected_for "$lang" tests/windows/members.expected) <(echo "$out") || true
  fi
done
took "scripts"

echo "=== windows stage: COM client"
if wine build/windows/tests/windows/component_checks.exe "$server" \
    "$(wine winepath -w tests/windows/typelib.expected.json | tr -d '\r')"; then
  pass "component_checks"
else
  fail "component_checks"
fi
took "COM client"

echo "=== windows stage: unregistration"
if wine regsvr32 /u /s "$ocx"; then pass "regsvr32 /u unregisters"; else fail "regsvr32 /u exited $?"; fi
left=0
for k in "${keys[@]}"; do
  if wine reg query "$k" >/dev/null 2>&1; then fail "left behind: $k"; left=1; fi
done
# Nothing of ours anywhere in the classes: the identifiers and the name.
wine reg export HKCR "$(wine winepath -w "$WINEPREFIX/classes.reg" | tr -d '\r')" /y >/dev/null
if iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/classes.reg" |
    grep -i -E 'jornavista|0B40D233|45292B49|D2B9A7BF|4198655C'; then
  fail "HKEY_CLASSES_ROOT still names the control after regsvr32 /u"
  left=1
fi
[ $left -eq 0 ] && pass "no key of ours is left"
if wine regsvr32 /u /s "$ocx"; then pass "a second regsvr32 /u succeeds"; else fail "a second regsvr32 /u exited $?"; fi
took "unregistration"

echo "=== windows stage: the control in Wine's ATL container, under Xvfb"
if scripts/windows-container-tests.sh; then
  pass "container_checks"
else
  fail "container_checks"
fi
took "container"

echo "=== windows stage: done in $((SECONDS - stage_start)) s"
echo "windows_stage: $passes passed, $failures failed"
[ $failures -eq 0 ]

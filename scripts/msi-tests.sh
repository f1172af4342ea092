#!/usr/bin/env bash
# The Windows installers under Wine, each case in a fresh prefix removed after it:
#   install   msiexec /i /qn; the files in the Program Files of their bitness, the
#             class registered in the registry view of each, created from the
#             installed files by a 64-bit and a 32-bit cscript; msiexec /x /qn, and no
#             key, type library, ProgID or file of ours is left in either view
#   upgrade   an older version installed, then this one over it: one product, the
#             class registered and working; then its removal leaves nothing
#   damaged   a truncated and a garbled installer: msiexec refuses both and the
#             prefix holds nothing of ours afterwards
#   x86       the x86 installer in a 32-bit prefix: installed, used, removed
#   container the ATL container check against the installed libraries
#             (scripts/windows-container-tests.sh with JV_CONTAINER_MSI)
# Expects the windows preset built (scripts/windows-tests.sh); the 32-bit library
# comes from build/windows-x86 when that preset is built.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

echo "=== installers: building"
cmake --build --preset windows --target msi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
msi=$root/build/windows/packages/Jornavista-$version-x64.msi
[ -f "$msi" ] || { echo "no installer at $msi" >&2; exit 1; }
with32=0
[ -f build/windows-x86/housing/Jornavista.ocx ] && with32=1
work=$(mktemp -d "${TMPDIR:-/tmp}/jv-msi.XXXXXX")
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# An older version of the same product line, from the same files.
cmake -DVERSION=0.9.0 -DPLATFORM=x64 -DOCX64=build/windows/housing/Jornavista.ocx \
  -DOCX32=build/windows-x86/housing/Jornavista.ocx -DOCX32_OPTIONAL=ON -DOUTPUT="$work/old.msi" \
  -P cmake/packaging/msi/make-msi.cmake >"$work/old.log" 2>&1 || { cat "$work/old.log" >&2; exit 1; }
# A cut one and one whose compound-file header is overwritten.
head -c "$(($(stat -c %s "$msi") / 2))" "$msi" >"$work/truncated.msi"
cp "$msi" "$work/garbled.msi"
printf 'this is no installer' | dd of="$work/garbled.msi" bs=1 seek=0 conv=notrunc status=none

echo "--- $(basename "$msi"): $(stat -c %s "$msi") bytes; the 32-bit library $([ $with32 = 1 ] && echo included || echo "not built (no windows-x86 preset): 64-bit only")"
msiinfo export "$msi" File | awk -F'\t' 'NR > 3 {print "    " $4 "\t" $3 "\t(" $1 ")"}'

# shellcheck source=scripts/windows-common.sh
. scripts/windows-common.sh

clsid='{0B40D233-B738-4C5D-89F6-6B4092C26CC0}'
libid='{45292B49-FDD8-480A-8486-8D677E004CE9}'
interfaces=('{D2B9A7BF-7336-46FF-8CA2-221061751233}' '{4198655C-AF18-4462-BF75-82F406D017D8}')
ours='jornavista|0B40D233|45292B49|D2B9A7BF|4198655C'
views=(64)
[ $with32 = 1 ] && views+=(32)

fresh_prefix() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/jv-msi-wine.XXXXXX")
  export WINEPREFIX
  wine wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 1; }
}
win() { wine winepath -w "$1" | tr -d '\r'; }
# Every registry query names its view: a bare `wine reg` may be the 32-bit one.
programs() { [ "$1" = 64 ] && echo "$WINEPREFIX/drive_c/Program Files" || echo "$WINEPREFIX/drive_c/Program Files (x86)"; }
# The classes of one registry view, exported as text.
classes_of() {
  local file=$work/classes$1.reg
  rm -f "$file"
  wine reg export 'HKLM\Software\Classes' "$(win "$file")" /y "/reg:$1" >/dev/null 2>&1 || true
  [ -f "$file" ] && iconv -f UTF-16 -t UTF-8 "$file"
}
installed_products() {
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s /reg:64 2>/dev/null | tr -d '\r' |
    awk '/DisplayName/ && /Jornavista/ {n++} /DisplayVersion/ {v = $NF} END {print n + 0}'
}
# The class is registered in each view, its server the installed file of that view.
check_registered() {
  for bits in "${views[@]}"; do
    local server
    server=$(wine reg query "HKCR\\CLSID\\$clsid\\InprocServer32" /ve "/reg:$bits" 2>/dev/null | tr -d '\r' |
      awk -F'REG_SZ' 'NF > 1 {sub(/^[ \t]+/, "", $2); print $2}' || true)
    local want
    want=$(win "$(programs "$bits")/Jornavista/Jornavista.ocx")
    if [ "${server,,}" = "${want,,}" ]; then
      pass "$1: the class in the $bits-bit view is served by $server"
    else
      fail "$1: the $bits-bit view's server is '$server', not '$want'"
    fi
    for key in "HKCR\\JornavistaControl.ctrJornavista" "HKCR\\TypeLib\\$libid"; do
      wine reg query "$key" "/reg:$bits" >/dev/null 2>&1 || fail "$1: no $key in the $bits-bit view"
    done
  done
}
# The lines members.vbs prints: untagged ones and those tagged [vbs].
members_expected() {
  awk '/^#/ { next } /^\[/ { i = index($0, "] "); tags = " " substr($0, 2, i - 2) " ";
      if (index(tags, " vbs ")) print substr($0, i + 2); next } { print }' tests/windows/members.expected
}
# Both bitnesses of client create the class and use every member.
check_clients() {
  local expected
  expected=$(members_expected)
  # With the 32-bit Wine installed, `wine` starts programs of system32 as their
  # 32-bit selves from syswow64: the 64-bit cscript needs the 64-bit loader.
  local -A launcher=([64]=wine [32]=wine)
  [ -x /usr/lib/wine/wine64 ] && launcher[64]=/usr/lib/wine/wine64
  local -A cscript=([64]='C:\windows\system32\cscript.exe' [32]='C:\windows\syswow64\cscript.exe')
  for bits in "${views[@]}"; do
    local out
    out=$("${launcher[$bits]}" "${cscript[$bits]}" //nologo "$(win tests/windows/members.vbs)" 2>&1 | tr -d '\r') || true
    if [ "$out" = "$expected" ]; then
      pass "$1: a $bits-bit cscript creates the installed class and uses every member"
    else
      fail "$1: the $bits-bit cscript differs from tests/windows/members.expected:"
      diff <(echo "$expected") <(echo "$out") | head -20 || true
    fi
  done
}
# Nothing of ours in either view's classes, in the product list or on disk.
check_nothing_left() {
  for bits in 64 32; do
    local left
    left=$(classes_of "$bits" | grep -i -E "$ours" | head -5 || true)
    [ -z "$left" ] && pass "$1: no key of ours in the $bits-bit classes" ||
      fail "$1: the $bits-bit classes still hold: $left"
    [ -e "$(programs "$bits")/Jornavista" ] && fail "$1: $(programs "$bits")/Jornavista is still there"
  done
  [ "$(installed_products)" = 0 ] || fail "$1: Jornavista is still listed as installed"
  find "$WINEPREFIX/drive_c" -iname 'jornavista*' | grep . && fail "$1: files named Jornavista remain" || true
}

echo "=== installers: install, use, remove"
fresh_prefix
if wine msiexec /i "$(win "$msi")" /qn; then pass "msiexec /i /qn installs"; else fail "msiexec /i exited $?"; fi
for bits in "${views[@]}"; do
  [ -f "$(programs "$bits")/Jornavista/Jornavista.ocx" ] && pass "the $bits-bit library is in its Program Files" ||
    fail "no $bits-bit library in $(programs "$bits")"
done
check_registered "installed"
check_clients "installed"
echo "--- the keys the installation wrote:"
for bits in "${views[@]}"; do
  classes_of "$bits" | grep -i -E "^\[.*($ours)" | sed "s/^/    [$bits-bit] /" || true
done
if wine msiexec /x "$(win "$msi")" /qn; then pass "msiexec /x /qn removes"; else fail "msiexec /x exited $?"; fi
check_nothing_left "removed"

echo "=== installers: an older version, then this one over it"
fresh_prefix
wine msiexec /i "$(win "$work/old.msi")" /qn && pass "version 0.9.0 installs" || fail "version 0.9.0 exited $?"
check_registered "0.9.0"
wine msiexec /i "$(win "$msi")" /qn && pass "version $version installs over it" || fail "the upgrade exited $?"
[ "$(installed_products)" = 1 ] && pass "one Jornavista is listed after the upgrade" ||
  fail "$(installed_products) Jornavista products are listed after the upgrade"
check_registered "upgraded"
check_clients "upgraded"
wine msiexec /x "$(win "$msi")" /qn && pass "the upgraded product removes" || fail "msiexec /x exited $?"
check_nothing_left "upgraded and removed"

echo "=== installers: damaged ones are refused"
fresh_prefix
for bad in truncated garbled; do
  if wine msiexec /i "$(win "$work/$bad.msi")" /qn >/dev/null 2>&1; then
    fail "msiexec accepted the $bad installer"
  else
    pass "msiexec refuses the $bad installer"
  fi
done
check_nothing_left "refused"

echo "=== installers: the x86 installer on 32-bit Windows"
if [ $with32 = 1 ]; then
  cmake --build --preset windows-x86 --target msi
  msi86=$root/build/windows-x86/packages/Jornavista-$version-x86.msi
  # Everything Wine runs here, winepath too, is for the 32-bit prefix.
  export WINEARCH=win32
  fresh_prefix
  dir86="$WINEPREFIX/drive_c/Program Files/Jornavista"
  if wine msiexec /i "$(win "$msi86")" /qn; then pass "x86: msiexec /i /qn installs"; else fail "x86: msiexec /i exited $?"; fi
  [ -f "$dir86/Jornavista.ocx" ] && pass "x86: the library is in Program Files" || fail "x86: no library in $dir86"
  server=$(wine reg query "HKCR\\CLSID\\$clsid\\InprocServer32" /ve 2>/dev/null | tr -d '\r' |
    awk -F'REG_SZ' 'NF > 1 {sub(/^[ \t]+/, "", $2); print $2}' || true)
  want=$(win "$dir86/Jornavista.ocx")
  [ -n "$server" ] && [ "${server,,}" = "${want,,}" ] &&
    pass "x86: the class is served by $server" || fail "x86: the class's server is '$server'"
  out=$(wine cscript //nologo "$(win tests/windows/members.vbs)" 2>&1 | tr -d '\r') || true
  [ "$out" = "$(members_expected)" ] && pass "x86: cscript creates the installed class and uses every member" ||
    fail "x86: cscript differs from tests/windows/members.expected: $(diff <(members_expected) <(echo "$out") | head -5)"
  if wine msiexec /x "$(win "$msi86")" /qn; then pass "x86: msiexec /x /qn removes"; else fail "x86: msiexec /x exited $?"; fi
  rm -f "$work/classes86.reg"
  wine reg export 'HKLM\Software\Classes' "$(win "$work/classes86.reg")" /y >/dev/null 2>&1 || true
  left=$(iconv -f UTF-16 -t UTF-8 "$work/classes86.reg" 2>/dev/null | grep -i -E "$ours" | head -5 || true)
  [ -f "$work/classes86.reg" ] && [ -z "$left" ] && pass "x86: no key of ours is left" || fail "x86: the classes hold: $left"
  [ -e "$dir86" ] && fail "x86: $dir86 is still there"
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  export WINEARCH=win64
else
  echo "(no windows-x86 build: skipped)"
fi

echo "=== installers: the ATL container check against the installed library"
container_builds=(windows)
[ $with32 = 1 ] && container_builds+=(windows-x86)
if JV_CONTAINER_MSI=$msi scripts/windows-container-tests.sh "${container_builds[@]}"; then
  pass "container_checks of ${container_builds[*]} on the installed libraries"
else
  fail "container_checks"
fi

echo "installers: $passes passed, $failures failed"
[ $failures -eq 0 ]

# What every Windows stage script shares, sourced by them: the tally of checks
# (`pass` and `fail`, counted in $passes and $failures), and for a build preset
# the Wine loader and the system folder whose programs have its bitness (Debian's
# `wine` starts system programs 32-bit when the 32-bit Wine is there, system32
# then meaning syswow64: 64-bit programs start with the 64-bit loader).

passes=0 failures=0
fail() {
  echo "FAIL $1"
  failures=$((failures + 1))
}
pass() {
  echo "ok   $1"
  passes=$((passes + 1))
}

wine64=/usr/lib/wine/wine64
[ -x "$wine64" ] || wine64=wine
run_of() { [ "$1" = windows-x86 ] && echo wine || echo "$wine64"; }
system_of() { [ "$1" = windows-x86 ] && echo 'C:\windows\syswow64' || echo 'C:\windows\system32'; }

#!/usr/bin/env bash
# Another project's view of Jornavista: installs the build into a fresh prefix,
# builds examples/embedding against it with find_package, runs the program
# offscreen, and checks what the prefix holds (the Designer plugin finding its
# library, the host finding Jornavista.ocx beside it).
#   consumer_project.sh BUILD_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
work=$(realpath -m "$3")
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix

# On failure the logs go to the test's output too: the work folder is wiped by the
# next run, and CI keeps only what was printed.
fail() {
  echo "consumer project: $*" >&2
  for log in "$work"/*.log; do
    [ -f "$log" ] && { echo "--- $log" >&2; tail -n 40 "$log" >&2; }
  done
  exit 1
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "install failed (see $work/install.log)"
cmake -S "$source/examples/embedding" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" >"$work/configure.log" || fail "configure failed (see $work/configure.log)"
cmake --build "$work/build" >"$work/build.log" || fail "build failed (see $work/build.log)"

# qInfo writes to standard error, beside Qt's own notes.
all=$(QT_QPA_PLATFORM=offscreen timeout 60 "$work/build/embedding" --once 2>&1) || fail "the program failed: $all"
out=$(grep -E '^(picked|size) ' <<<"$all" || true)
expected=$'picked 14/11/2003\nsize 231 x 249 backColor #ffffe0'
[ "$out" = "$expected" ] || fail "the program printed: $all"

plugin=$(find "$prefix" -path '*/plugins/designer/libjornavista_designer.so')
[ -n "$plugin" ] || fail "no Designer plugin under $prefix"
# ldd's output is read whole first: piped into grep -q, which leaves at the first
# match, ldd could die of SIGPIPE while still writing, and pipefail would count that
# as a failure of the check.
libraries=$(ldd "$plugin")
grep -q "libjornavista-widget.so.1 => $prefix/" <<<"$libraries" ||
  fail "the plugin does not find its library: $libraries"
# The host through its link in bin/, with the library it finds beside itself.
host=$(printf 'today 2003-11-09\ncreate\nput SDate "from the prefix"\nget SDate\n' |
  "$prefix/bin/jornavista-host" 2>&1) || fail "the installed host failed: $host"
grep -qx "\"from the prefix\"" <<<"$host" || fail "the installed host printed: $host"
echo "consumer project: built against $prefix and ran: $out"

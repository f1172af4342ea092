#!/usr/bin/env bash
# The packages users install, built and proven from outside the build tree.
#   scripts/package-tests.sh deb   the Debian packages from build/release (CPack's DEB
#                                  generator): lintian, dpkg -i, a program built with
#                                  find_package and no prefix path, a .ui form through
#                                  QUiLoader with no QT_PLUGIN_PATH, the host from PATH,
#                                  then dpkg --purge and nothing of ours left
#   scripts/package-tests.sh msi   the Windows installers (scripts/msi-tests.sh)
# The deb stage installs into /usr and needs root; whatever happens, it purges what
# it installed and takes back its /usr/local install before it ends.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

case "${1:-}" in
  deb) ;;
  msi) exec scripts/msi-tests.sh ;;
  *) echo "usage: $0 deb|msi" >&2; exit 2 ;;
esac

build=build/release
[ -f "$build/CPackConfig.cmake" ] || { echo "package tests: configure the release preset first" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "package tests: dpkg -i needs root" >&2; exit 2; }

fail() {
  echo "package tests: $*" >&2
  exit 1
}

echo "=== packages: building the Debian packages from $build"
rm -rf "$build/packages"
cmake --build "$build" --target deb >/dev/null
mapfile -t debs < <(find "$build/packages" -maxdepth 1 -name '*.deb' | sort)
[ ${#debs[@]} -eq 4 ] || fail "expected 4 packages, got: ${debs[*]}"
names=()
for deb in "${debs[@]}"; do
  names+=("$(dpkg-deb -f "$deb" Package)")
  echo "--- $(basename "$deb"): $(stat -c %s "$deb") bytes; Depends: $(dpkg-deb -f "$deb" Depends)"
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print "    " $3 "\t" substr($0, index($0, "./") + 1)}'
done
version=$(dpkg-deb -f "${debs[0]}" Version)

echo "=== packages: lintian"
lint=$(lintian --tag-display-limit 0 "${debs[@]}" 2>&1 | grep -v 'running with root privileges' || true)
echo "${lint:-(nothing)}"
# The two warnings kept: CPack writes postinst and postrm that run ldconfig for a
# library under /usr/lib; the package's ldconfig trigger makes them redundant.
unexpected=$(grep -E '^[EW]: ' <<<"$lint" | grep -vE ': maintscript-calls-ldconfig \[post(inst|rm)\]$' || true)
[ -z "$unexpected" ] || fail "lintian reports: $unexpected"

# The machine is left as found: none of our packages may be there before, and the
# trap purges them (and takes back the /usr/local install) on any exit.
for name in "${names[@]}"; do
  if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q installed; then
    fail "$name is already installed here; remove it before running the package tests"
  fi
done
work=$(mktemp -d /tmp/jornavista-packages.XXXXXX)
local_manifest=""
# Takes back the /usr/local install: its files, then the folders it made, deepest
# first, while they are empty.
take_back_local() {
  [ -n "$local_manifest" ] && [ -f "$local_manifest" ] || return 0
  while IFS= read -r file; do rm -f "$file"; done <"$local_manifest"
  sort -r "$work/local-dirs.new" | while IFS= read -r dir; do rmdir "$dir" 2>/dev/null || true; done
  rm -f "$local_manifest"
  ldconfig
}
cleanup() {
  dpkg --purge "${names[@]}" >/dev/null 2>&1 || true
  take_back_local
  rm -rf "$work"
}
trap cleanup EXIT

# Every folder that exists now, to tell ours from the system's after the purge.
find /usr -xdev -type d 2>/dev/null | sort >"$work/dirs.before"

# An install of the project into /usr/local beside the packages: dpkg -i installs
# over it without a conflict, dpkg never touches it, and the packaged plugin keeps
# loading the packaged library. It is taken back before the checks from PATH, where
# /usr/local/bin would come first.
plugin=/usr/lib/$(gcc -print-multiarch)/qt6/plugins/designer/libjornavista_designer.so
if [ ! -e /usr/local/bin/jornavista-host ]; then
  echo "=== packages: a cmake --install into /usr/local beside them"
  cmake --install "$build" --prefix /usr/local >"$work/local-install.log"
  cp "$build/install_manifest.txt" "$work/local-manifest.txt"
  local_manifest=$work/local-manifest.txt
  find /usr/local -xdev -type d | sort | comm -13 "$work/dirs.before" - >"$work/local-dirs.new"
fi

echo "=== packages: dpkg -i"
dpkg -i "${debs[@]}" >"$work/dpkg-install.log" 2>&1 || { cat "$work/dpkg-install.log" >&2; fail "dpkg -i failed"; }
dpkg --verify "${names[@]}" || fail "dpkg --verify finds the installed files changed"
libraries=$(ldd "$plugin")
grep -q "libjornavista-widget.so.1 => /usr/lib/" <<<"$libraries" ||
  fail "the packaged plugin does not load the packaged library: $libraries"
if [ -n "$local_manifest" ]; then
  while IFS= read -r file; do [ -e "$file" ] || fail "dpkg -i removed $file of the /usr/local install"; done \
    <"$local_manifest"
  take_back_local
  echo "packages: installed beside a /usr/local install, which they left alone"
fi

# From here on nothing points into the build tree or at plugin folders.
unset CMAKE_PREFIX_PATH QT_PLUGIN_PATH JV_CONTROL_LIBRARY LD_LIBRARY_PATH
export QT_QPA_PLATFORM=offscreen
cd "$work"

host=$(command -v jornavista-host)
[ "$host" = /usr/bin/jornavista-host ] || fail "jornavista-host on PATH is $host, not the package's"
got=$(jornavista-host --version)
[ "$got" = "jornavista-host $version" ] || fail "jornavista-host --version printed '$got', the package is $version"
out=$(printf 'today 2003-11-09\ncreate\nput SDate "from the package"\nget SDate\n' | jornavista-host 2>&1) ||
  fail "the installed host failed: $out"
grep -qx '"from the package"' <<<"$out" || fail "the installed host printed: $out"
echo "host: $got from PATH, its library beside it"

cmake -S "$root/examples/embedding" -B embedding -G Ninja -DCMAKE_BUILD_TYPE=Release >embedding.log 2>&1 ||
  { cat embedding.log >&2; fail "examples/embedding does not configure against the package"; }
found=$(sed -n 's/^Jornavista_DIR:PATH=//p' embedding/CMakeCache.txt)
[[ $found == /usr/lib/*/cmake/Jornavista ]] || fail "find_package(Jornavista) found $found"
cmake --build embedding >>embedding.log 2>&1 || { cat embedding.log >&2; fail "examples/embedding does not build"; }
all=$(timeout 60 embedding/embedding --once 2>&1) || fail "the program failed: $all"
got=$(grep -E '^(picked|size) ' <<<"$all" || true)
[ "$got" = $'picked 14/11/2003\nsize 231 x 249 backColor #ffffe0' ] || fail "the program printed: $all"
echo "examples/embedding: found $found, ran: ${got//$'\n'/; }"

cmake -S "$root/tests/packages/form_loader" -B form_loader -G Ninja >form_loader.log 2>&1 &&
  cmake --build form_loader >>form_loader.log 2>&1 || { cat form_loader.log >&2; fail "the form loader does not build"; }
form=$(timeout 60 form_loader/form_loader "$root/tests/widgets/forms/designer_saved.ui" 2>&1) ||
  fail "QUiLoader did not build the form: $form"
expected=$'class jv::qt::JornavistaWidget\nsize 231 x 249\nselectedDate 31/12/9999 não é data'
got=$(grep -E '^(class|size|selectedDate) ' <<<"$form" || true)
[ "$got" = "$expected" ] || fail "the form loader printed: $form"
echo "QUiLoader: ${got//$'\n'/; }"

echo "=== packages: dpkg --purge"
mapfile -t files < <(for name in "${names[@]}"; do dpkg -L "$name"; done | grep -vx "/." | sort -u)
dpkg --purge "${names[@]}" >"$work/dpkg-purge.log" 2>&1 || { cat "$work/dpkg-purge.log" >&2; fail "dpkg --purge failed"; }
left=()
for file in "${files[@]}"; do
  if [ -d "$file" ] && [ ! -L "$file" ]; then
    grep -qxF "$file" "$work/dirs.before" || left+=("$file/")
  elif [ -e "$file" ] || [ -L "$file" ]; then
    left+=("$file")
  fi
done
[ ${#left[@]} -eq 0 ] || fail "the purge left: ${left[*]}"
echo "packages: ${#files[@]} paths installed, none left after the purge"

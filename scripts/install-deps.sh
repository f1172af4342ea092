#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need, when
# any is missing. Runs apt-get as root (directly, or through sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config python3
  libicu-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev fonts-liberation fonts-dejavu-core xvfb xauth
  # The Designer plugin, .ui forms (uic, QUiLoader) and the session in the real
  # Designer; Qt6Designer's CMake package needs the OpenGL development files.
  qt6-tools-dev qt6-tools-dev-tools designer-qt6 libqt6uitools6 libqt6opengl6-dev
  xdotool imagemagick
  # The out-of-process accessibility test: an AT-SPI client in Python on its own
  # D-Bus session (scripts/accessibility-test.sh).
  python3-gi gir1.2-atspi-2.0 at-spi2-core dbus
  clang libclang-rt-14-dev
  # The Debian packages: CPack's DEB generator reads binaries with file and
  # dpkg-shlibdeps (dpkg-dev); lintian checks them (scripts/package-tests.sh).
  file dpkg-dev lintian
)
# Groups a stage asks for by name in JV_EXTRA_PACKAGES ("@windows"), beside plain
# package names; none is in the default list.
# @windows: the MinGW-w64 cross compilers for 64-bit and 32-bit Windows and Wine to
# run their output, both bitnesses in one prefix (wine32:i386 gives the prefix its
# syswow64 programs, and needs the i386 architecture; wine64-tools has widl-stable,
# the IDL compiler; libwine-dev its headers); xdotool and ImageMagick give the
# container checks real input and screenshots under Xvfb; wixl (msitools) builds
# the Windows installers.
windows_packages=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 wine32:i386 wine64-tools libwine-dev
                  xdotool imagemagick wixl)
if [ -n "${JV_EXTRA_PACKAGES:-}" ]; then
  read -r -a extra <<<"$JV_EXTRA_PACKAGES"
  for p in "${extra[@]}"; do
    case "$p" in
      @windows) packages+=("${windows_packages[@]}") ;;
      @*) echo "unknown package group: $p" >&2; exit 1 ;;
      *) packages+=("$p") ;;
    esac
  done
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# A package of another architecture (name:arch) needs that architecture enabled.
for p in "${missing[@]}"; do
  case "$p" in
    *:*)
      arch=${p#*:}
      if [ "$arch" != "$(dpkg --print-architecture)" ] &&
          ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
        "${as_root[@]}" dpkg --add-architecture "$arch"
      fi ;;
  esac
done
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

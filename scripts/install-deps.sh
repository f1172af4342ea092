#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need, when
# any is missing. Runs apt-get as root (directly, or through sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libicu-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev fonts-liberation fonts-dejavu-core xvfb xauth
  clang libclang-rt-14-dev
)
if [ -n "${JV_EXTRA_PACKAGES:-}" ]; then
  read -r -a extra <<<"$JV_EXTRA_PACKAGES"
  packages+=("${extra[@]}")
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
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

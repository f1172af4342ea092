#!/usr/bin/env bash
# Every test: builds and runs the suite under the release preset and under the
# debug preset with AddressSanitizer and UndefinedBehaviorSanitizer, then the
# calendar through an AT-SPI client in its own process, then the Debian packages,
# then the Windows stage (the MinGW-w64 cross-build run under Wine) and the Windows
# installers, then the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
for preset in release debug-asan; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "=== $preset: tests"
  ctest --preset "$preset" -j2
done
echo "=== accessibility: the window through AT-SPI"
scripts/accessibility-test.sh build/release/apps/jornavista-host/jornavista-host
# The Debian packages from the release build: installed, proven, purged.
scripts/package-tests.sh deb
scripts/windows-tests.sh
# The Windows installers from the Windows builds, under Wine.
scripts/package-tests.sh msi
scripts/fuzz.sh

#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for a
# bounded time, FUZZ_SECONDS (30) apiece, starting from the committed corpus.
# A crash or a failed check stops with the input saved under build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-30}"
build=build/fuzz
CC=clang CXX=clang++ cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
mkdir -p "$build/artifacts"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for target in document_fuzz conversions_fuzz property_record_fuzz; do
  echo "=== fuzz: $target for ${seconds}s"
  # New inputs go to a scratch folder, so the committed corpus only changes by hand.
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
    -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 "$scratch" "tests/fuzz/corpus/$target"
  rm -rf "$scratch"
  trap - EXIT
done

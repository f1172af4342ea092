#!/usr/bin/env bash
# The main job: builds the release preset and runs the scripting host on the
# sample script, printing the control's state at each step.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target jornavista-host
build/release/apps/jornavista-host/jornavista-host "${1:-samples/november-2003.jvs}"

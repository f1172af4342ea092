#!/usr/bin/env bash
# Checks that the tree's includes, declarations and CMake target links point down
# the layers (the rules and the layer table are in scripts/check_layers.py).
# Usage: scripts/check-layers.sh [--no-targets] [ROOT]   (ROOT defaults to the repository)
# Prints each offence as PLACE: reason; exits 1 if there is any, 2 if it cannot check.
set -euo pipefail
exec python3 "$(dirname "$0")/check_layers.py" "$@"

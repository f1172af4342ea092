#!/usr/bin/env bash
# Checks that every #include in the tree points down the layers:
#
#   apps/       may include anything of the product
#   widgets/    control/, housing/ and platform/ (never apps/)
#   housing/    control/ and platform/
#   control/    only the standard library, platform/automation/ and platform/runtime/
#   platform/   only platform/
#
# and that Qt headers appear only in the Qt runtime, the Qt widgets, the apps, the
# tests and the benchmarks. Nothing shipped includes tests/ or bench/.
# Usage: scripts/check-layers.sh [ROOT]   (ROOT defaults to the repository)
# Prints each offending line as FILE:LINE: reason, and exits 1 if there is any.
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

failures=0
offend() {
  echo "$1: $2"
  failures=$((failures + 1))
}

# Project headers that LAYER may include: a space-separated list of path prefixes.
allowed_for() {
  case "$1" in
    platform/*) echo "platform/" ;;
    control/*) echo "control/ platform/automation/ platform/runtime/" ;;
    housing/*) echo "housing/ control/ platform/" ;;
    widgets/*) echo "widgets/ housing/ control/ platform/" ;;
    apps/*) echo "apps/ widgets/ housing/ control/ platform/" ;;
    *) echo "" ;;
  esac
}

while IFS= read -r file; do
  allowed=$(allowed_for "$file")
  [ -n "$allowed" ] || continue
  while IFS=: read -r line text; do
    if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
      target=${BASH_REMATCH[1]}
      # A sibling by bare name is the file's own folder.
      [[ $target == */* ]] || continue
      ok=0
      for prefix in $allowed; do
        [[ $target == "$prefix"* ]] && ok=1
      done
      [ $ok -eq 1 ] || offend "$file:$line" "includes \"$target\" from a layer above or beside it"
    elif [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
      target=${BASH_REMATCH[1]}
      case "$file" in
        control/*)
          # The standard library's headers are single lower-case words: <memory>, <cstdint>.
          [[ $target =~ ^[a-z_]+$ ]] || offend "$file:$line" "includes <$target>; the control uses only the standard library"
          ;;
        platform/qt/* | widgets/qt/* | apps/*) ;;
        *)
          [[ $target =~ ^Q[A-Za-z]*(/|$) ]] && offend "$file:$line" "includes Qt's <$target> outside the Qt runtime, the Qt widgets and the apps"
          ;;
      esac
    fi
  done < <(grep -n '#[[:space:]]*include' "$file" || true)
done < <(find platform control housing widgets apps -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.c' \) 2>/dev/null | sort)

if [ $failures -ne 0 ]; then
  echo "check-layers: $failures include(s) point the wrong way"
  exit 1
fi
echo "check-layers: every include points down the layers"

#!/usr/bin/env bash
# The main job: builds the release preset and opens the calendar in a window.
# Without a display it runs the sample script on the headless runtime instead,
# prints the month as a person reads it after each of the sample's steps (the
# host's print command), and renders a screenshot of the window offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target jornavista-host
host=build/release/apps/jornavista-host/jornavista-host
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$host" show "$@"
fi
sample=samples/november-2003.jvs
echo "no display: running $sample headless (for a window: xvfb-run -a $host show)"
# Each step runs the sample up to it again and prints the month it leaves; the
# lines that only print (state, get) are left out of the replay.
steps=()
while IFS= read -r line || [ -n "$line" ]; do
  code=${line%%#*}
  read -r command _ <<<"$code" || true
  case "$command" in
    "") [[ $line == *"#"* ]] && echo && echo "${line#"${line%%[![:space:]]*}"}"; continue ;;
    state | get | print) continue ;;
  esac
  steps+=("$line")
  [ "$command" = today ] && continue  # no month before the control is created
  echo
  echo "> ${code%"${code##*[![:space:]]}"}"
  printf '%s\n' "${steps[@]}" print | "$host"
done <"$sample"
echo
# Qt's notes on a bare environment (no XDG_RUNTIME_DIR) are shown only if it fails.
if ! log=$(QT_QPA_PLATFORM=offscreen "$host" render build/jornavista.png --script "$sample" 2>&1); then
  echo "$log" >&2
  exit 1
fi
echo "screenshot of the window: build/jornavista.png"

#!/usr/bin/env bash
# Qt Designer itself, under Xvfb, with our plugin: a person's session played with
# xdotool. Designer loads the plugin, the calendar is dragged from its widget-box
# group onto a blank form, all seven properties are set in the property editor,
# and the form is saved. Checks that the plugin was loaded, that the calendar is
# drawn on the form, and that the saved form holds every value. Then a day picked
# through the calendar's task menu (a double-click) reaches the saved form, and
# Designer's undo takes it back.
#
#   designer_session.sh PLUGIN_ROOT OUT_DIR
# PLUGIN_ROOT holds designer/libjornavista_designer.so. OUT_DIR receives
# form.ui (the form Designer saved), designer.png and designer.log.
#
# The clicks are at fixed places of Designer's default layout on a 1280 x 1024
# screen, which a fresh HOME gives; a check after each step says which failed.
set -euo pipefail
plugin_root=$(realpath "$1")
out=$(realpath -m "$2")
here=$(dirname "$(realpath "$0")")
designer=${JV_DESIGNER:-/usr/lib/qt6/bin/designer}

if [ -z "${JV_IN_XVFB:-}" ]; then
  mkdir -p "$out"
  # -a picks a free display; the session runs inside it. A second attempt, in a
  # fresh display, absorbs a machine too busy for the session's pauses; a fault
  # of ours fails both.
  for attempt in 1 2; do
    env JV_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@" && exit 0
    echo "designer session: attempt $attempt failed" >&2
  done
  exit 1
fi

work=$(mktemp -d)
trap 'kill "${pid:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$here/forms/blank.ui" "$out/form.ui"
chmod u+w "$out/form.ui"

export HOME=$work QT_PLUGIN_PATH=$plugin_root QT_DEBUG_PLUGINS=1 QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
"$designer" "$out/form.ui" >"$out/designer.log" 2>&1 &
pid=$!

fail() { echo "designer session: $*" >&2; import -window root "$out/failed.png" 2>/dev/null || true; exit 1; }
wait_for() {  # seconds, description, command...
  local seconds=$1 what=$2; shift 2
  for _ in $(seq $((seconds * 4))); do "$@" && return 0; sleep 0.25; done
  fail "timed out waiting for $what"
}
window_up() { xdotool search --name "Qt Designer" >/dev/null 2>&1; }
plugin_loaded() { grep -q 'libjornavista_designer.so" loaded library' "$out/designer.log"; }
wait_for 60 "Designer's window" window_up
wait_for 20 "Designer to load the plugin" plugin_loaded
sleep 2
for w in $(xdotool search --name "Qt Designer"); do xdotool windowsize "$w" 1280 1000 windowmove "$w" 0 0; done
sleep 1

click() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }
typed() { xdotool type --delay 20 -- "$1"; sleep 0.3; }
# The widget box, filtered to our group, and a drag of its one entry onto the form.
click 120 91
typed Jornavista
xdotool mousemove 84 132 mousedown 1
for x in 100 140 180 220 260 290; do xdotool mousemove "$x" 120; sleep 0.1; done
xdotool mousemove 295 112; sleep 0.3; xdotool mouseup 1; sleep 1

# The property editor, filtered to one property at a time: its row is then the
# first under the class's heading, its parts (colour channels, font fields) below.
row=471
filter() { xdotool mousemove 972 387 click --repeat 3 1; sleep 0.2; typed "$1"; }
expand() { click 778 $row; }
value() {  # row, text
  click 1045 "$1"; xdotool key ctrl+a; typed "$2"; xdotool key Return; sleep 0.3
}
toggle() { click 928 "$1"; xdotool key space; sleep 0.3; }

filter backColor; expand; value 490 13; value 545 127     # system colour 13, the highlight
filter foreColor; expand; value 490 255; value 508 128    # RGB 255, 128, 0
filter controlEnabled; toggle $row
filter controlFont; expand; value 508 14; toggle 526; toggle 545  # 14 points, bold, italic
filter backStyle; value $row -1
filter borderStyle; value $row 32767
filter selectedDate; value $row "31/12/9999 não é data"

# The whole class group in view for the picture, then save.
xdotool mousemove 972 387 click --repeat 3 1; xdotool key ctrl+a BackSpace; sleep 0.3
xdotool mousemove 1000 550; for _ in $(seq 30); do xdotool click 5; done; sleep 0.5
import -window root "$out/designer.png"
save() {
  click 480 700
  before=$(stat -c %.9Y "$out/form.ui")
  xdotool key ctrl+s
  saved() { [ "$(stat -c %.9Y "$out/form.ui")" != "$before" ]; }
  wait_for 10 "the saved form" saved
  sleep 0.5
}
save

# The calendar's weekday band, drawn in the palette's highlight, in the form area.
band=$(convert "$out/designer.png" -crop 460x840+255+60 -format %c histogram:info:- |
  awk '/#308CC6/ {print $1+0}')
[ "${band:-0}" -ge 2000 ] || fail "the calendar is not drawn on the form (${band:-0} band pixels)"

holds() { case "$(tr -d ' \n' <"$out/form.ui")" in *"$1"*) ;; *) fail "the saved form lacks $1 ($2)" ;; esac; }
saved_date='<propertyname="selectedDate"><string>31/12/9999nãoédata</string>'
for expected in \
  '<widgetclass="jv::qt::JornavistaWidget"name="calendar">' \
  '<propertyname="backColor"><coloralpha="127"><red>13</red><green>0</green><blue>0</blue></color>' \
  '<propertyname="foreColor"><color><red>255</red><green>128</green><blue>0</blue></color>' \
  '<propertyname="controlEnabled"><bool>true</bool>' \
  '<pointsize>14</pointsize><italic>true</italic><bold>true</bold>' \
  '<propertyname="backStyle"><number>-1</number>' \
  '<propertyname="borderStyle"><number>32767</number>' \
  "$saved_date"; do
  holds "$expected" "the property editor"
done

# A double-click on the calendar (at 20, 20 on the form) opens its date dialog.
# Row 4, column 1 holds a day in every month: with the 1st on weekday w (Sunday
# 0) it is day 22 - w of today's month.
dialog_up() { xdotool search --name "^Selected date$" >/dev/null 2>&1; }
xdotool mousemove 420 300 click --repeat 2 --delay 80 1
wait_for 10 "the date dialog" dialog_up
sleep 0.5
dialog=$(xdotool search --name "^Selected date$" | head -1)
xdotool mousemove --window "$dialog" 37 181 click 1; sleep 0.5
xdotool mousemove --window "$dialog" 115 277 click 1; sleep 1   # OK
first=$(date -d "$(date +%Y-%m-01)" +%w)
picked="$(date +%-m)/$((22 - first))/$(date +%Y)"
save
holds "<propertyname=\"selectedDate\"><string>$picked</string>" "the task menu"
xdotool key ctrl+z; sleep 0.5
save
holds "$saved_date" "undo"
echo "designer session: plugin loaded, calendar drawn, seven properties and a picked date saved, the pick undone"

#!/usr/bin/env bash
# End to end under a virtual X display, as a user edits: open a copy of a level, click a
# sector, press "Minecart Left" twice, save (saying yes to the question the new error asks);
# then Ctrl+Z twice and Ctrl+S write the original back byte for byte. Controls are found by
# their accessible names on the accessibility bus.
# Arguments: the program, the command-line tool, the sample maker and a second-game level to
# copy (the sample's second-game form is used when it is missing). Run under xvfb-run; skips
# (exit 77) without a display, xdotool, a session bus or the accessibility bindings.
set -euo pipefail
. "$(dirname "$0")/x11_window.sh"
program="$1" cli="$2" maker="$3" level="${4:-}"
here="$(cd "$(dirname "$0")" && pwd)"
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null || { echo "no display or xdotool"; exit 77; }
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  command -v dbus-run-session >/dev/null || { echo "no dbus-run-session"; exit 77; }
  exec dbus-run-session -- "$0" "$@"
fi
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "no python3-pyatspi"; exit 77; }
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || { echo "no accessibility bus launcher"; exit 77; }

work="$(mktemp -d)"; [ -z "${KEEP:-}" ] || echo "work folder: $work"
pid=""
trap 'kill $pid "${bus:-}" 2>/dev/null || true; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
"$launcher" --launch-immediately & bus=$!
# A second-game level, where a minecart turn is an error: the sample's second-game form when
# there is no level to copy.
if [ -n "$level" ] && [ -f "$level" ]; then cp "$level" "$work/level.tr2"; else "$maker" --second-game "$work/level.tr2"; fi
chmod u+w "$work/level.tr2"
cp "$work/level.tr2" "$work/original.tr2"

# The display first answers, then the program starts; one more start if it could not reach
# the display all the same (a busy machine can be slow to let the first client in).
wait_display
window=""
for attempt in 1 2; do
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" "$program" --open "$work/level.tr2" &>"$work/program.log" &
  pid=$!
  window="$(wait_window 'Slabwright 3.1 \[level.tr2\]')"
  [ -n "$window" ] && break
  kill "$pid" 2>/dev/null || true
  sleep 1
done
[ -n "$window" ] || { echo "the window did not open"; cat "$work/program.log"; exit 1; }
control() { /usr/bin/python3 "$here/find_control.py" "$1"; }
click_control() {
  read -r x y w h < <(control "$1")
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
  sleep 0.3
}
focus "$window"

# Sector (a, b) = (1, 1) of room 0: the map shows the room centred in its pane at the most
# whole device pixels a sector (k) that let the picture of 10 pixels a sector and one more
# fit, from 10 to 160.
read -r rows cols < <("$cli" info "$work/level.tr2" --json |
  /usr/bin/python3 -c 'import json,sys; r=json.load(sys.stdin)["Rooms"][0]; print(r["NumXSectors"], r["NumZSectors"])')
read -r mx my mw mh < <(control "Room map")
kx=$(( mw * 10 / (10 * cols + 1) )); ky=$(( mh * 10 / (10 * rows + 1) ))
k=$(( kx < ky ? kx : ky ))
[ "$k" -ge 10 ] || k=10
[ "$k" -le 160 ] || k=160
left=$(( (mw - (10 * cols + 1) * k / 10) / 2 )); top=$(( (mh - (10 * rows + 1) * k / 10) / 2 ))
[ "$left" -ge 0 ] || left=0; [ "$top" -ge 0 ] || top=0
xdotool mousemove $((mx + left + 15 * k / 10)) $((my + top + 15 * k / 10)) click 1
sleep 0.3
click_control "Minecart Left"
click_control "Minecart Left"
# A screen reader finds the item panel's type list and mask boxes by what they are, not by
# their value or a bare digit.
for name in "Item type" "Static mesh to add" "Activation bit 1" "Trigger mask bit 5"; do
  control "$name" >/dev/null || { echo "no control heard as \"$name\""; exit 1; }
done
focus "$window"
xdotool key ctrl+s
# A minecart turn is a third-game function the second game stops at: Save asks first.
confirm_box
dismiss_box
cp "$work/level.tr2" "$work/edited.tr2"
focus "$window"
xdotool key ctrl+z ctrl+z
sleep 0.3
xdotool key ctrl+s
dismiss_box
# Rotate with no item chosen: the status bar says why, and a screen reader finds the message
# there.
focus "$window"
click_control "Rotate"
control "Choose an item in the sector's item list first." >/dev/null ||
  { echo "the status message is not heard"; exit 1; }
focus "$window"
xdotool key ctrl+q
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "the program did not end"; exit 1; fi

# Both presses landed on the clicked sector, none on the corner; undoing both gave the
# original back, byte for byte.
panels() { "$cli" sector "$work/$1" 0 "$2" "$3" --json | grep -v '"file"'; }
[ "$(panels edited.tr2 1 1)" != "$(panels original.tr2 1 1)" ] ||
  { echo "the presses changed nothing on the clicked sector"; exit 1; }
panels edited.tr2 1 1 | tr -d ' \n' | grep -q '"FD20":\[0,0,255\]' ||
  { echo "the clicked sector has no left turn"; exit 1; }
[ "$(panels edited.tr2 0 0)" = "$(panels original.tr2 0 0)" ] || { echo "the corner sector changed"; exit 1; }
cmp "$work/level.tr2" "$work/original.tr2" || { echo "undo and save did not give the original back"; exit 1; }
echo "edits landed on the clicked sector; undo and save gave the original back"

#!/usr/bin/env bash
# End to end under a virtual X display: the program records a demo from the real (virtual)
# keyboard, saves it, and the file holds the masks, on a third- and a second-game level.
# Arguments: the program, the sample maker and the test program that checks the file. Run
# under xvfb-run; skips (exit 77) without a display or xdotool.
set -euo pipefail
. "$(dirname "$0")/x11_window.sh"
program="$1" maker="$2" checker="$3"
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null || { echo "no display or xdotool"; exit 77; }
work="$(mktemp -d)"
trap 'kill $pid 2>/dev/null || true; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
# Once on the sample (a third-game level) and once on its second-game form: both games keep a
# demo the same way.
pid=""
for form in "" --second-game; do
  "$maker" ${form:+"$form"} "$work/demo.tr2"
  XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" "$program" --open "$work/demo.tr2" &
  pid=$!

  window="$(wait_window 'Slabwright 3.1 \[demo.tr2\]')"
  [ -n "$window" ] || { echo "the window did not open"; exit 1; }
  focus "$window"
  xdotool key alt+d Return  # Demo > Start Recording
  dismiss_box
  focus "$window"
  # Keys are held as long as a hand holds them: the recorder looks at the keyboard every pass.
  press() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
  press Tab 0.2             # capturing on
  sleep 0.3
  press Up 0.4
  sleep 0.2
  press Tab 0.2             # capturing off
  sleep 0.3
  focus "$window"
  xdotool key alt+d Down Return  # Demo > Stop Recording
  sleep 0.3
  xdotool key ctrl+s        # File > Save
  dismiss_box
  focus "$window"
  xdotool key ctrl+q
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then echo "the program did not end"; exit 1; fi

  # The saved file: still its game's (by the version word), the header, masks with cursor up
  # among them, and the end marker.
  version="$(head -c 4 "$work/demo.tr2" | od -An -tx1 | tr -d ' \n')"
  [ "$version" = "$([ -n "$form" ] && echo 2d000000 || echo 380018ff)" ] ||
    { echo "the demo was saved with the version word $version"; exit 1; }
  SLAB_DEMO_FILE="$work/demo.tr2" "$checker" --gtest_filter='RecordedDemoFile.*'
done

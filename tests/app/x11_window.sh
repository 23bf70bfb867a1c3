# Shell functions the end-to-end scripts share, sourced by them: finding the program's window,
# giving it the focus and answering its message boxes, as a user at the virtual display would.

# Waits for a visible window whose name matches the pattern; prints its id.
wait_window() {
  local found=""
  for _ in $(seq 100); do
    found="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)"
    [ -n "$found" ] && break
    sleep 0.1
  done
  printf '%s' "$found"
}

# Waits until the display answers a client.
wait_display() {
  for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "the display $DISPLAY does not answer"
  exit 1
}

# Without a window manager the focus is set by hand.
focus() { xdotool windowfocus "$1"; sleep 0.3; }

# Dismisses the message box that is open now (OK is its default button).
dismiss_box() {
  local box
  box="$(wait_window '^Slabwright2$')"
  [ -n "$box" ] || { echo "no message box"; exit 1; }
  focus "$box"
  xdotool key Return
  sleep 0.3
}

# Answers the question box that is open now with the button that is not its default: Tab goes
# from Cancel, the default, to the other of its two buttons.
confirm_box() {
  local box
  box="$(wait_window '^Slabwright2$')"
  [ -n "$box" ] || { echo "no question box"; exit 1; }
  focus "$box"
  xdotool key Tab Return
  sleep 0.5
}

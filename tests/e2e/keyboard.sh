#!/usr/bin/env bash
# The palette from the keyboard alone: from start-up the keys reach a known swatch, which
# shows the focus indicator; Return, Enter and Space click, Ctrl+C copies, and Shift+F10 and
# the Menu key open the context menu.
# Usage: keyboard.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"

start_x
dir=$(install_app 1)
start_app "$dir/Hexatint91"
window_origin
# No window manager hands out the focus here: the window takes it as a click would give it.
move_to 2 2
xdotool windowfocus --sync "$WIN"

# Waits until the clipboard holds $1, for at most $2 seconds.
wait_clipboard() {
  local deadline=$((SECONDS + $2)) got
  while :; do
    got=$(xclip -o -selection clipboard 2>/dev/null || true)
    [ "$got" = "$1" ] && return 0
    [ $SECONDS -ge $deadline ] && fail "the clipboard holds '$got', expected '$1'"
    sleep 0.1
  done
}

# Waits until the screen shows more top-level windows than $1, for at most $2 seconds.
wait_more_windows() {
  local deadline=$((SECONDS + $2))
  while [ "$(xdotool search --onlyvisible --name '' 2>/dev/null | wc -l)" -le "$1" ]; do
    [ $SECONDS -ge $deadline ] && fail "no menu window appeared"
    sleep 0.1
  done
}

note "no focus indicator before a key: swatch 89 shows its face next to its left edge"
[ "$(pixel 405 124)" = ff9900 ] || fail "swatch 89 shows $(pixel 405 124) before any key"

note "End, Shift+Tab, Shift+Tab reach swatch 89, which shows the indicator (white outside, black inside)"
xdotool key End shift+Tab shift+Tab
wait_pixel 405 124 000000 5
[ "$(pixel 404 124)" = ffffff ] || fail "the indicator's outer ring is $(pixel 404 124)"

note "Return puts #ff9900 on the clipboard and washes the backdrop"
xdotool key Return
wait_clipboard "#ff9900" 5
wait_pixel 447 1 ff9900 5

note "Left moves half a step down into the next column (swatch 83); Ctrl+C copies its code"
xdotool key Left ctrl+c
wait_clipboard "#ffcc33" 5
wait_pixel 365 134 000000 5

note "Up, then the keypad's Enter, copies #ff9933; Right then Space copies #ff6600"
xdotool key Up KP_Enter
wait_clipboard "#ff9933" 5
xdotool key Right space
wait_clipboard "#ff6600" 5

windows=$(xdotool search --onlyvisible --name '' 2>/dev/null | wc -l)
note "Shift+F10 opens the context menu; Escape closes it"
xdotool key shift+F10
wait_more_windows "$windows" 5
xdotool key Escape
sleep 0.5
note "the Menu key opens it too"
xdotool key Menu
wait_more_windows "$windows" 5
xdotool key Escape
sleep 0.3

exit_through_menu 50
check_sanitizers

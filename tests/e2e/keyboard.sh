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

note "no focus indicator before a key: swatch 89 shows its face next to its left edge"
[ "$(pixel 405 124)" = ff9900 ] || fail "swatch 89 shows $(pixel 405 124) before any key"

note "End, Shift+Tab, Shift+Tab reach swatch 89, which shows the indicator (white outside, black inside)"
xdotool key End shift+Tab shift+Tab
wait_pixel 405 124 000000
[ "$(pixel 404 124)" = ffffff ] || fail "the indicator's outer ring is $(pixel 404 124)"

note "Return puts #ff9900 on the clipboard and washes the backdrop"
xdotool key Return
wait_clipboard "#ff9900"
wait_pixel 447 1 ff9900

note "Left moves half a step down into the next column (swatch 83); Ctrl+C copies its code"
xdotool key Left ctrl+c
wait_clipboard "#ffcc33"
wait_pixel 365 134 000000

note "Up, then the keypad's Enter, copies #ff9933; Right then Space copies #ff6600"
xdotool key Up KP_Enter
wait_clipboard "#ff9933"
xdotool key Right space
wait_clipboard "#ff6600"

note "Shift+F10 opens the context menu; Escape closes it"
xdotool key shift+F10
wait_for 10 "the context menu after Shift+F10" menu_shown
key_to_menu Escape
note "the Menu key opens it too"
xdotool key Menu
wait_for 10 "the context menu after the Menu key" menu_shown
key_to_menu Escape

exit_through_menu 50
check_sanitizers

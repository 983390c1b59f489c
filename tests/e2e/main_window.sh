#!/usr/bin/env bash
# The main window as a user meets it: size, hover fades, a click that copies, the context
# menu's always-on-top item remembered across a restart.
# Usage: main_window.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"

start_x
dir=$(install_app 1)
start_app "$dir/Hexatint91"
window_origin

note "the window comes up on top by default"
xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the window is not on top"

note "client area is 448 x 228"
[ "$WIDTH" = 448 ] && [ "$HEIGHT" = 228 ] || fail "client area is ${WIDTH}x${HEIGHT}"

note "swatch 46 (#ffffff, gray caption) turns its caption black under the pointer"
shot "$E2E_TMP/before46.png"
blacks() { convert "$1" -crop 40x20+204+104 -depth 8 txt:- | grep -c '#000000' || true; }
[ "$(blacks "$E2E_TMP/before46.png")" -eq 0 ] || fail "swatch 46 shows black before the hover"
move_to 224 114
caption_black() { shot "$E2E_TMP/after46.png"; [ "$(blacks "$E2E_TMP/after46.png")" -gt 0 ]; }
wait_until 10 caption_black || fail "swatch 46's caption did not turn black"

note "swatch 1 (#0000ff) fades to white within 128 ticks and back after the pointer leaves"
[ "$(pixel 6 56)" = 0000ff ] || fail "swatch 1 does not start blue"
move_to 6 56
wait_pixel 6 56 ffffff 5
move_to 2 2
wait_pixel 6 56 0000ff 5

note "a click on swatch 89 puts exactly #ff9900 on the clipboard"
click_at 424 124
wait_clipboard "#ff9900"

note "the click washed the backdrop: orange outer edges, white middle band"
move_to 2 2
wait_pixel 447 1 ff9900  # the right edge
wait_pixel 0 1 ff9902    # the left edge, two ramp steps from ff9900
for x in 200 224 247; do
  wait_pixel $x 1 ffffff  # the middle band
done

note "a right click opens the context menu; its first item turns always-on-top off"
open_menu
key_to_menu s
wait_on_top no

note "the exit item closes the window and writes FRON=0"
exit_through_menu
grep -q '^FRON=0' "$dir/Hexatint91.ini" || { cat "$dir/Hexatint91.ini" >&2; fail "FRON=0 not written"; }

note "a restart comes up not on top"
start_app "$dir/Hexatint91"
if xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; then
  fail "the window is still on top after the restart"
fi
stop_app
check_sanitizers
echo "main window: all checks passed"

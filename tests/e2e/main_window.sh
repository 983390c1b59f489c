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
move_to 224 114
sleep 0.5
shot "$E2E_TMP/after46.png"
blacks() { convert "$1" -crop 40x20+204+104 -depth 8 txt:- | grep -c '#000000' || true; }
[ "$(blacks "$E2E_TMP/before46.png")" -eq 0 ] || fail "swatch 46 shows black before the hover"
[ "$(blacks "$E2E_TMP/after46.png")" -gt 0 ] || fail "swatch 46's caption did not turn black"

note "swatch 1 (#0000ff) fades to white within 128 ticks and back after the pointer leaves"
[ "$(pixel 6 56)" = 0000ff ] || fail "swatch 1 does not start blue"
move_to 6 56
wait_pixel 6 56 ffffff 5
move_to 2 2
wait_pixel 6 56 0000ff 5

note "a click on swatch 89 puts exactly #ff9900 on the clipboard"
click_at 424 124
sleep 0.3
clip=$(xclip -o -selection clipboard 2>/dev/null || true)
[ "$clip" = "#ff9900" ] || fail "clipboard holds '$clip'"

note "the click washed the backdrop: orange outer edges, white middle band"
move_to 2 2
sleep 0.3
[ "$(pixel 447 1)" = ff9900 ] || fail "right edge is $(pixel 447 1), not ff9900"
[ "$(pixel 0 1)" = ff9902 ] || fail "left edge is $(pixel 0 1), not two ramp steps from ff9900"
for x in 200 224 247; do
  [ "$(pixel $x 1)" = ffffff ] || fail "middle band at x=$x is $(pixel $x 1)"
done

note "a right click opens the context menu; its first item turns always-on-top off"
before=$(xdotool search --onlyvisible --name '' 2>/dev/null | wc -l)
move_to 2 2
xdotool click 3
sleep 0.5
after=$(xdotool search --onlyvisible --name '' 2>/dev/null | wc -l)
[ "$after" -gt "$before" ] || fail "no menu window appeared"
xdotool key s
sleep 0.3

note "the exit item closes the window and writes FRON=0"
exit_through_menu 50
grep -q '^FRON=0' "$dir/Hexatint91.ini" || { cat "$dir/Hexatint91.ini" >&2; fail "FRON=0 not written"; }

note "a restart comes up not on top"
start_app "$dir/Hexatint91"
if xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; then
  fail "the window is still on top after the restart"
fi
stop_app
check_sanitizers
echo "main window: all checks passed"

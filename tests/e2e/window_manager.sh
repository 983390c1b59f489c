#!/usr/bin/env bash
# The window under a real window manager (openbox): a title bar with a close box only, a
# size the user cannot change, and always-on-top keeping it above an ordinary window until
# the context menu turns it off.
# Usage: window_manager.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"

start_x
start_wm || fail "openbox is not installed"

# Sets NEW to the visible window named Hexatint91 that is not among "$@".
other_window() {
  local w known
  NEW=""
  for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null); do
      known=0
      for k in "$@"; do [ "$w" = "$k" ] && known=1; done
      [ $known = 0 ] && { NEW=$w; return 0; }
    done
    sleep 0.1
  done
  fail "no second window appeared"
}

# Prints the position of window $1 in the manager's stacking list (bottom first).
stack_index() {
  xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' |
    awk -v w="$(printf '0x%x' "$1")" '$0 == w { print NR }'
}

above_of() { # window_that_should_be_above window_below
  local a b
  a=$(stack_index "$1"); b=$(stack_index "$2")
  [ -n "$a" ] && [ -n "$b" ] && [ "$a" -gt "$b" ]
}

# Whether window $1 is the active one.
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# Whether window $1's left edge is no longer at x = $2.
moved_from() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  [ "$X" != "$2" ]
}
# Returns once the manager has handled every request made of it so far: it takes them in
# order, so a move of window $1 by a pixel, asked last, shows when that point is reached.
wm_settled() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool windowmove "$1" $((X + 1)) "$Y"
  wait_for 20 "the window manager to move window $1" moved_from "$1" "$X"
}

# Sets TOP to the Hexatint91 window other than $1 once it is no longer marked on top (the
# style change re-creates the native window, so its id may change).
not_on_top_any_more() {
  local w state
  for w in $(xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null); do
    [ "$w" = "$1" ] && continue
    state=$(xprop -id "$w" _NET_WM_STATE 2>/dev/null) || continue
    echo "$state" | grep -q _NET_WM_STATE_ABOVE && continue
    TOP=$w
    return 0
  done
  return 1
}

dir1=$(install_app 1)
start_app "$dir1/Hexatint91"
TOP=$WIN

note "the manager allows closing and moving, nothing else of the title bar"
actions=$(xprop -id "$TOP" _NET_WM_ALLOWED_ACTIONS)
echo "$actions" | grep -q _NET_WM_ACTION_CLOSE || fail "no close action: $actions"
echo "$actions" | grep -q _NET_WM_ACTION_MOVE || fail "no move action: $actions"
for action in MINIMIZE MAXIMIZE_HORZ MAXIMIZE_VERT RESIZE FULLSCREEN; do
  echo "$actions" | grep -q "_NET_WM_ACTION_$action\b" && fail "the manager allows $action: $actions"
done
extents=$(xprop -id "$TOP" _NET_FRAME_EXTENTS | grep -o '[0-9]*' | tr '\n' ' ')
set -- $extents
[ "${3:-0}" -gt 2 ] || fail "no title bar (frame extents: $extents)"

note "the window keeps its size when asked to resize"
xdotool windowsize "$TOP" 600 400
wm_settled "$TOP"
eval "$(xdotool getwindowgeometry --shell "$TOP")"
[ "$WIDTH" = 448 ] && [ "$HEIGHT" = 228 ] || fail "resized to ${WIDTH}x${HEIGHT}"

note "an ordinary window activated over it stays below it"
dir2=$(install_app 2)
printf '[SET]\nFRON=0\n' >"$dir2/Hexatint91.ini"
"$dir2/Hexatint91" >"$E2E_TMP/app-normal.log" 2>&1 &
E2E_PIDS+=($!)
NORMAL_PID=$!
other_window "$TOP"
NORMAL=$NEW
xprop -id "$NORMAL" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE && fail "the ordinary window is on top"
xdotool windowactivate --sync "$NORMAL" 2>/dev/null || xdotool windowactivate "$NORMAL"
xdotool windowraise "$NORMAL"
wait_until 20 active_is "$NORMAL" || fail "the ordinary window did not become active"
wm_settled "$NORMAL"
above_of "$TOP" "$NORMAL" || fail "the always-on-top window went below the ordinary one"

note "turned off from its context menu, the ordinary window can come over it"
xdotool windowactivate "$TOP"
wait_until 20 active_is "$TOP" || fail "the always-on-top window did not become active"
WIN=$TOP
window_origin
menu_key s
wait_until 20 not_on_top_any_more "$NORMAL" || fail "still marked on top"
xdotool windowactivate "$NORMAL"
xdotool windowraise "$NORMAL"
wait_until 20 above_of "$NORMAL" "$TOP" || fail "the ordinary window did not come over it"

kill "$NORMAL_PID" 2>/dev/null || true
stop_app
if grep -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$E2E_TMP/app-normal.log"; then
  fail "a sanitizer reported a fault in the second window"
fi
check_sanitizers
echo "window manager: all checks passed"

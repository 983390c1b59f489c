# Shared helpers for the end-to-end tests: a private X server, the real executable in a
# folder of its own (so its settings file is private too), pointer and keyboard through
# xdotool, the clipboard through xclip and the screen through ImageMagick's import.
set -euo pipefail

E2E_TMP=$(mktemp -d /tmp/hexatint-e2e.XXXXXX)
E2E_PIDS=()
# A config folder of the test's own: a settings file in the real user's would win over the
# one beside a fresh copy of the executable.
export XDG_CONFIG_HOME=$E2E_TMP/config

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]:-}"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }

# --- Waiting ------------------------------------------------------------------------------
# A busy machine delays every step by an unknown amount, so nothing here sleeps for a fixed
# time and then looks once: each check is retried until it holds or its deadline passes. The
# deadlines are generous; they only turn a hang into a failure, and say nothing about speed.

# Milliseconds on a monotonic-enough clock (bash's own, without starting a process).
now_ms() { local t=${EPOCHREALTIME/./}; echo $((${t:0:-3})); }

# Runs "$@" every tenth of a second until it succeeds (returns 0) or $1 seconds have passed
# (returns 1). The command is run once more at the deadline, so a slow command still counts.
wait_until() {
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do
    if [ "$(now_ms)" -ge $deadline ]; then "$@" && return 0; return 1; fi
    sleep 0.1
  done
}

# As wait_until, but fails the test with "$2" (what was awaited) at the deadline.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  wait_until "$seconds" "$@" || fail "waited ${seconds} s for $what"
}

# Whether process $1 has ended (it may be a child of this shell or not).
gone() { ! kill -0 "$1" 2>/dev/null; }
# Waits up to $2 seconds (default 20) for process $1 to end and collects it.
wait_gone() {
  wait_for "${2:-20}" "process $1 to end" gone "$1"
  wait "$1" 2>/dev/null || true
}

# Whether the clipboard holds exactly $1.
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null || true)" = "$1" ]; }
# Waits up to $2 seconds (default 10) for the clipboard to hold $1.
wait_clipboard() {
  wait_until "${2:-10}" clipboard_is "$1" ||
    fail "the clipboard holds '$(xclip -o -selection clipboard 2>/dev/null || true)', expected '$1'"
}

# Starts Xvfb on a free display number and exports DISPLAY. Another test may take the same
# number at the same moment: the server whose process id is in the display's lock file owns
# it, and when that is not ours the next number is tried.
start_x() {
  local n xvfb
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
    xvfb=$!
    E2E_PIDS+=($xvfb)
    export DISPLAY=:$n
    wait_until 30 x_ours_answers_or_lost "$xvfb" "$n" || fail "Xvfb did not start on :$n"
    [ "$(display_owner "$n")" = "$xvfb" ] && kill -0 "$xvfb" 2>/dev/null && return 0
    kill "$xvfb" 2>/dev/null || true
  done
  fail "no free display number"
}
display_owner() { tr -d ' \n' 2>/dev/null <"/tmp/.X$1-lock" || true; }
# Whether server $1 on display $2 answers, or has ended, or another server owns the display.
x_ours_answers_or_lost() {
  local owner
  kill -0 "$1" 2>/dev/null || return 0
  owner=$(display_owner "$2")
  [ -n "$owner" ] && [ "$owner" != "$1" ] && return 0
  [ "$owner" = "$1" ] && xdpyinfo >/dev/null 2>&1
}

# Starts a window manager (openbox) when one is installed; some checks need one.
start_wm() {
  command -v openbox >/dev/null || return 1
  openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
  E2E_PIDS+=($!)
  wait_for 20 "the window manager to announce itself" wm_running
}
# Whether a window manager has put its check window on the root window.
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# Copies the executable into a fresh folder and prints that folder.
install_app() {
  local dir="$E2E_TMP/app$1"
  mkdir -p "$dir"
  cp "$APP" "$dir/Hexatint91"
  echo "$dir"
}

# Starts the app at $1 (an executable path); sets APP_PID and WIN.
E2E_STARTS=0
start_app() {
  E2E_STARTS=$((E2E_STARTS + 1))
  APP_LOG="$E2E_TMP/app$E2E_STARTS.log"
  "$1" >"$APP_LOG" 2>&1 &
  APP_PID=$!
  E2E_PIDS+=($APP_PID)
  WIN=""
  wait_until 30 app_window_shown || fail "no window named Hexatint91 appeared"
  window_origin
  # Drawn once swatch 1 shows its own blue (in device pixels when Qt scales the window).
  local scale=${QT_SCALE_FACTOR:-1}
  wait_pixel $((6 * scale)) $((56 * scale)) 0000ff 30
}

# Sets WIN to the visible window named Hexatint91 once there is one; fails when the app ends
# first.
app_window_shown() {
  kill -0 "$APP_PID" 2>/dev/null || { cat "$APP_LOG" >&2; fail "the app exited early"; }
  WIN=$(xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null | head -n1 || true)
  [ -n "$WIN" ]
}

# Whether window $1 is marked always-on-top.
on_top() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }

# Sets WIN to a visible Hexatint91 window that is (yes) or is not (no) marked on top. The
# app re-creates its native window to change the mark, so the id may change with it.
shown_with_on_top() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null); do
    if { [ "$1" = yes ] && on_top "$w"; } || { [ "$1" = no ] && ! on_top "$w"; }; then
      WIN=$w
      return 0
    fi
  done
  return 1
}
wait_on_top() { wait_for "${2:-20}" "a window with on-top '$1'" shown_with_on_top "$1"; window_origin; }

# Fails when a sanitizer reported anything in any run of the app so far.
check_sanitizers() {
  if grep -l -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$E2E_TMP"/app*.log >/dev/null 2>&1; then
    cat "$E2E_TMP"/app*.log >&2
    fail "a sanitizer reported a fault"
  fi
}

# Ends the app the way a user does not: a polite TERM, waiting for it to go.
stop_app() {
  kill "$APP_PID" 2>/dev/null || true
  wait "$APP_PID" 2>/dev/null || true
}

# The number of visible popup menus: the app's windows that bypass the window manager and
# are not tool tips (those come and go by themselves). Qt marks such a menu as an ordinary
# window, not as a menu; a window manager has bypassing windows of its own.
menus_open() {
  local w n=0
  for w in $(xdotool search --onlyvisible --class '^Hexatint91$' 2>/dev/null); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
    xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q TOOLTIP && continue
    n=$((n + 1))
  done
  echo $n
}
menu_shown() { [ "$(menus_open)" -gt 0 ]; }
no_menu_shown() { [ "$(menus_open)" -eq 0 ]; }

# With a menu open, presses key $1 and waits until the menu has closed. A key that reaches
# the server before the menu holds the keyboard goes to the window below, so while the menu
# stays open the key is pressed again, a few seconds apart.
key_to_menu() {
  local attempt
  for attempt in 1 2 3 4 5; do
    xdotool key "$1"
    wait_until 4 no_menu_shown && return 0
  done
  fail "the menu stayed open after key $1"
}

# Right-clicks client point (2, 2) (a piece of backdrop) and waits for the context menu.
open_menu() {
  # Through (4, 4): a synced move to where the pointer already is waits for nothing to come.
  xdotool mousemove $((WX + 4)) $((WY + 4))
  move_to 2 2
  xdotool click 3
  wait_for 20 "the context menu" menu_shown
}

# Chooses the context menu item with access key $1.
menu_key() {
  open_menu
  key_to_menu "$1"
}

# Ends the app the way a user does: the right-click menu's exit item (key x), then waits up
# to $1 seconds (default 20) for it to go.
exit_through_menu() {
  menu_key x
  wait_until "${1:-20}" gone "$APP_PID" || fail "the app did not end after the exit item"
  wait "$APP_PID" 2>/dev/null || true
}

# Client-area origin of WIN on the screen: sets WX, WY (and WIDTH, HEIGHT). From xwininfo:
# under a window manager xdotool counts the frame's offset twice.
window_origin() {
  local info
  info=$(xwininfo -id "$WIN")
  WX=$(echo "$info" | awk '/Absolute upper-left X:/ { print $4 }')
  WY=$(echo "$info" | awk '/Absolute upper-left Y:/ { print $4 }')
  WIDTH=$(echo "$info" | awk '/^ *Width:/ { print $2 }')
  HEIGHT=$(echo "$info" | awk '/^ *Height:/ { print $2 }')
}

# Moves the pointer to client coordinates (x, y) of WIN.
# (--sync waits for the pointer to arrive, which never happens when it is there already.)
move_to() {
  local X Y SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell)"
  [ "$X" = $((WX + $1)) ] && [ "$Y" = $((WY + $2)) ] && return 0
  xdotool mousemove --sync $((WX + $1)) $((WY + $2))
}
click_at() { move_to "$1" "$2"; xdotool click 1; }

# Prints the colour of client pixel (x, y) as rrggbb, from a fresh screenshot.
pixel() {
  import -window root -crop 1x1+$((WX + $1))+$((WY + $2)) -depth 8 txt:- 2>/dev/null |
    sed -n '2p' | grep -o '#[0-9A-Fa-f]\{6\}' | head -n1 | tr 'A-F' 'a-f' | tr -d '#'
}

# Saves a screenshot of WIN's client area to $1.
shot() { import -window root -crop 448x228+"$WX"+"$WY" +repage "$1" 2>/dev/null; }

# Whether client pixel (x, y) shows colour $3 (rrggbb).
pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }
# Waits until pixel (x, y) shows colour $3 (rrggbb), for at most $4 seconds (default 10).
wait_pixel() {
  wait_until "${4:-10}" pixel_is "$1" "$2" "$3" || fail "pixel ($1,$2) is $(pixel "$1" "$2"), expected $3"
}

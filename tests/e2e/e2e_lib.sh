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

# Starts Xvfb on a free display number and exports DISPLAY.
start_x() {
  local n
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    export DISPLAY=:$n
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    fail "Xvfb did not start on :$n"
  done
  fail "no free display number"
}

# Starts a window manager (openbox) when one is installed; some checks need one.
start_wm() {
  command -v openbox >/dev/null || return 1
  openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
  E2E_PIDS+=($!)
  sleep 0.5
}

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
  for _ in $(seq 100); do
    WIN=$(xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null | head -n1 || true)
    [ -n "$WIN" ] && break
    kill -0 "$APP_PID" 2>/dev/null || { cat "$APP_LOG" >&2; fail "the app exited early"; }
    sleep 0.1
  done
  [ -n "$WIN" ] || fail "no window named Hexatint91 appeared"
  sleep 0.3
}

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

# Ends the app the way a user does: the right-click menu's exit item (key x), then waits up
# to $1 tenths of a second for it to go.
exit_through_menu() {
  move_to 2 2
  xdotool click 3
  sleep 0.5
  xdotool key x
  for _ in $(seq "$1"); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$APP_PID" 2>/dev/null && fail "the app did not end after the exit item"
  return 0
}

# Client-area origin of WIN on the screen: sets WX, WY.
window_origin() {
  eval "$(xdotool getwindowgeometry --shell "$WIN")"
  WX=$X
  WY=$Y
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

# Waits until pixel (x, y) shows colour $3 (rrggbb), for at most $4 seconds.
wait_pixel() {
  local deadline=$((SECONDS + $4)) got
  while :; do
    got=$(pixel "$1" "$2")
    [ "$got" = "$3" ] && return 0
    [ $SECONDS -ge $deadline ] && fail "pixel ($1,$2) is $got, expected $3"
    sleep 0.1
  done
}

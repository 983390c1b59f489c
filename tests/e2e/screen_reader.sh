#!/usr/bin/env bash
# The palette as a screen reader meets it, over the desktop accessibility bus: a private
# D-Bus session with the accessibility registry, the app on it, and an AT-SPI client that
# lists the swatch buttons, follows the focus the keys move, presses a swatch, and reads
# the always-on-top item's check mark as it changes.
# Exits 77 (skipped) with the reason when the bus cannot be had here.
# Usage: screen_reader.sh PATH/TO/Hexatint91
APP=$1
HERE=$(cd "$(dirname "$0")" && pwd)
skip() { echo "SKIPPED: $*"; exit 77; }

if [ -z "${HX_IN_BUS_SESSION:-}" ]; then
  command -v dbus-run-session >/dev/null || skip "dbus-run-session is not installed (package dbus)"
  [ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi-bus-launcher is not installed (package at-spi2-core)"
  # The client library lives in the system's Python (another python3 may come first).
  python3 -c 'import pyatspi' 2>/dev/null || /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    skip "the AT-SPI client is not installed (package python3-pyatspi)"
  HX_IN_BUS_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi

source "$HERE/e2e_lib.sh"
PY=python3
python3 -c 'import pyatspi' 2>/dev/null || PY=/usr/bin/python3
reader() { timeout 20 "$PY" "$HERE/screen_reader.py" "$@"; }

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_TMP/bus.log" 2>&1 &
E2E_PIDS+=($!)
bus_up=""
for _ in $(seq 50); do
  if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
      >/dev/null 2>&1; then bus_up=1; break; fi
  sleep 0.1
done
[ -n "$bus_up" ] || { cat "$E2E_TMP/bus.log"; skip "the accessibility bus did not start"; }

start_x
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
dir=$(install_app 1)
start_app "$dir/Hexatint91"
window_origin
move_to 2 2
xdotool windowfocus --sync "$WIN"

note "the client lists 91 swatch buttons by their codes"
names=""
for _ in $(seq 50); do
  names=$(reader buttons 2>/dev/null || true)
  [ "$(grep -c '^#' <<<"$names")" -eq 91 ] && break
  sleep 0.2
done
[ "$(grep -c '^#' <<<"$names")" -eq 91 ] || { echo "$names" >&2; fail "the bus shows $(grep -c '^#' <<<"$names") swatches"; }
grep -qx '#ff9900' <<<"$names" || fail "no button named #ff9900"

note "nothing is focused at start; End, Shift+Tab, Shift+Tab focus #ff9900 and announce it"
[ -z "$(reader focused)" ] || fail "a swatch reports focus before any key"
# Starts listening for changes of state $1 for $2 seconds into $3; sets LISTENER.
listen() {
  reader events "$1" "$2" >"$3" 2>&1 &
  LISTENER=$!
  for _ in $(seq 50); do grep -q listening "$3" && break; sleep 0.1; done
}
listen focused 6 "$E2E_TMP/events.txt"
xdotool key End shift+Tab shift+Tab
deadline=$((SECONDS + 10))
until [ "$(reader focused)" = "#ff9900" ]; do
  [ $SECONDS -ge $deadline ] && fail "the focused button is '$(reader focused)'"
  sleep 0.2
done
wait "$LISTENER" || true
grep -qx '#ff9900 gained' "$E2E_TMP/events.txt" || { cat "$E2E_TMP/events.txt" >&2; fail "no focus event for #ff9900"; }
grep -qx '#ffcc00 gained' "$E2E_TMP/events.txt" || fail "the step on the way (#ffcc00) was not announced"

note "Up moves the accessible focus to #ff6600"
xdotool key Up
deadline=$((SECONDS + 10))
until [ "$(reader focused)" = "#ff6600" ]; do
  [ $SECONDS -ge $deadline ] && fail "after Up the focused button is '$(reader focused)'"
  sleep 0.2
done

note "the press action of #3366ff puts its code on the clipboard"
reader press '#3366ff' || fail "no press action on #3366ff"
deadline=$((SECONDS + 10))
until [ "$(xclip -o -selection clipboard 2>/dev/null || true)" = "#3366ff" ]; do
  [ $SECONDS -ge $deadline ] && fail "the clipboard holds '$(xclip -o -selection clipboard 2>/dev/null)'"
  sleep 0.2
done

note "the always-on-top item reports its check mark, and the change is announced"
[ "$(reader ontop)" = checked ] || fail "the on-top item reads '$(reader ontop)' at start"
listen checked 5 "$E2E_TMP/checked.txt"
reader press-ontop
wait "$LISTENER" || true
[ "$(reader ontop)" = unchecked ] || fail "the on-top item reads '$(reader ontop)' after its press"
grep -q ' lost$' "$E2E_TMP/checked.txt" || { cat "$E2E_TMP/checked.txt" >&2; fail "the change was not announced"; }

stop_app
check_sanitizers

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

source "$HERE/a11y_lib.sh"
if [ -z "${A11Y_IN_SESSION:-}" ]; then
  why=$(a11y_missing)
  [ -z "$why" ] || skip "$why"
  a11y_session "$0" "$@"
fi

source "$HERE/e2e_lib.sh"
a11y_start || skip "the accessibility bus did not start"

start_x
dir=$(install_app 1)
start_app "$dir/Hexatint91"
window_origin
move_to 2 2
xdotool windowfocus --sync "$WIN"

note "the client lists 91 swatch buttons by their codes"
# Sets names to the push buttons' names; whether there are 91 swatches among them.
swatches_listed() {
  names=$(reader buttons 2>/dev/null || true)
  [ "$(grep -c '^#' <<<"$names")" -eq 91 ]
}
wait_until 10 swatches_listed || { echo "$names" >&2; fail "the bus shows $(grep -c '^#' <<<"$names") swatches"; }
grep -qx '#ff9900' <<<"$names" || fail "no button named #ff9900"

note "nothing is focused at start; End, Shift+Tab, Shift+Tab focus #ff9900 and announce it"
[ -z "$(reader focused)" ] || fail "a swatch reports focus before any key"
# Starts listening for changes of state $1 for $2 seconds into $3; sets LISTENER.
listen() {
  reader events "$1" "$2" >"$3" 2>&1 &
  LISTENER=$!
  wait_until 5 grep -q listening "$3" || fail "the client did not start listening"
}
listen focused 6 "$E2E_TMP/events.txt"
xdotool key End shift+Tab shift+Tab
focused_is() { [ "$(reader focused)" = "$1" ]; }
wait_until 10 focused_is "#ff9900" || fail "the focused button is '$(reader focused)'"
wait "$LISTENER" || true
grep -qx '#ff9900 gained' "$E2E_TMP/events.txt" || { cat "$E2E_TMP/events.txt" >&2; fail "no focus event for #ff9900"; }
grep -qx '#ffcc00 gained' "$E2E_TMP/events.txt" || fail "the step on the way (#ffcc00) was not announced"

note "Up moves the accessible focus to #ff6600"
xdotool key Up
wait_until 10 focused_is "#ff6600" || fail "after Up the focused button is '$(reader focused)'"

note "the press action of #3366ff puts its code on the clipboard"
reader press '#3366ff' || fail "no press action on #3366ff"
wait_clipboard "#3366ff"

note "the always-on-top item reports its check mark, and the change is announced"
[ "$(reader ontop)" = checked ] || fail "the on-top item reads '$(reader ontop)' at start"
listen checked 5 "$E2E_TMP/checked.txt"
reader press-ontop
wait "$LISTENER" || true
[ "$(reader ontop)" = unchecked ] || fail "the on-top item reads '$(reader ontop)' after its press"
grep -q ' lost$' "$E2E_TMP/checked.txt" || { cat "$E2E_TMP/checked.txt" >&2; fail "the change was not announced"; }

stop_app
check_sanitizers

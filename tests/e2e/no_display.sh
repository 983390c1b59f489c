#!/usr/bin/env bash
# Started where no display can be opened, the tool and formview print one line and exit
# with status 1 (never the toolkit's abort): no DISPLAY at all, a DISPLAY nobody serves,
# a platform chosen by the user that has no server, a Wayland name without a compositor.
# Offscreen rendering needs no display and still works.
# Usage: no_display.sh PATH/TO/Hexatint91 PATH/TO/formview SOURCE_DIR
APP=$1
FORMVIEW=$2
SRC=$3
source "$(dirname "$0")/e2e_lib.sh"
expected="cannot open a display: set DISPLAY or WAYLAND_DISPLAY"

# A display number with no server and no socket.
free=""
for n in $(seq 200 260); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { free=$n; break; }
done
[ -n "$free" ] || fail "no unused display number"

# Runs "$@" in an environment without any display but the variables given before "--".
check() {
  local settings=() what
  while [ "$1" != -- ]; do settings+=("$1"); shift; done
  shift
  what="${settings[*]:-nothing set}: $(basename "$1")"
  note "$what"
  local status=0
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$E2E_TMP" \
    ${settings[@]+"${settings[@]}"} timeout 20 "$@" >"$E2E_TMP/out" 2>"$E2E_TMP/err" || status=$?
  [ "$status" = 1 ] || { cat "$E2E_TMP/err" >&2; fail "$what: exit status $status, expected 1"; }
  [ "$(cat "$E2E_TMP/err")" = "$expected" ] || { cat "$E2E_TMP/err" >&2; fail "$what: stderr is not the one line"; }
  [ "$(wc -l <"$E2E_TMP/err")" = 1 ] || fail "$what: more than one line"
  [ -s "$E2E_TMP/out" ] && fail "$what: wrote to stdout"
  return 0
}

form=$SRC/tools/examples/shine_demo.form
for program in "$APP" "$FORMVIEW $form"; do
  # shellcheck disable=SC2086
  check -- $program
  check DISPLAY=:$free -- $program
  check QT_QPA_PLATFORM=xcb -- $program
  check QT_QPA_PLATFORM=wayland -- $program
  check WAYLAND_DISPLAY=wayland-none -- $program
  check WAYLAND_DISPLAY=wayland-none QT_QPA_PLATFORM=wayland -- $program
done

note "offscreen rendering needs no display"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$FORMVIEW" --png "$E2E_TMP/form.png" "$form" ||
  fail "formview --png failed without a display"
[ -s "$E2E_TMP/form.png" ] || fail "no PNG written"
echo "no display: all checks passed"

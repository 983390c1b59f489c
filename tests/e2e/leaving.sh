#!/usr/bin/env bash
# How the tool leaves: losing the display mid-run ends it with status 1 and one line on its
# standard error, never a crash; a normal close hands the copied code to a running
# clipboard manager, so it can still be pasted once the tool is gone.
# Usage: leaving.sh PATH/TO/Hexatint91 PATH/TO/clipboard_manager_standin
APP=$1
MANAGER=$2
source "$(dirname "$0")/e2e_lib.sh"

# Waits up to $1 seconds for APP_PID to end; sets STATUS to its exit status.
wait_exit() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$APP_PID" 2>/dev/null; do
    [ $SECONDS -ge $deadline ] && fail "the app did not end within $1 s"
    sleep 0.1
  done
  STATUS=0
  wait "$APP_PID" || STATUS=$?
}

start_x
dir=$(install_app 1)

note "the display goes away after a hover and a click (the window is killed by the server)"
start_app "$dir/Hexatint91"
move_to 24 64
wait_pixel 6 56 ffffff 5      # swatch 1 faded in under the pointer: a timer ran
click_at 24 64
xdotool mousemove 1000 700    # a fade out is running when the connection goes
xkill -id "$WIN" >/dev/null 2>&1 || fail "xkill failed"
wait_exit 10
[ "$STATUS" = 1 ] || { cat "$APP_LOG" >&2; fail "exit status $STATUS after the display went, expected 1"; }
check_sanitizers
# What the tool itself says: not the environment's complaint about a missing runtime folder,
# nor the sanitizer's summary of the suppressions it used.
said=$(grep -v -e '^QStandardPaths: ' -e '^---*$' -e '^Suppressions used:' -e '^ *count  *bytes template' \
  -e '^ *[0-9][0-9]*  *[0-9][0-9]*  *[^ ]*$' "$APP_LOG" | grep . || true)
[ "$(printf '%s\n' "$said" | grep -c .)" = 1 ] || { cat "$APP_LOG" >&2; fail "not one line on stderr"; }
note "status 1, stderr: $said"

note "a clipboard manager receives the copied code when the window is closed"
"$MANAGER" 30 >"$E2E_TMP/manager.log" 2>&1 &
manager_pid=$!
E2E_PIDS+=($manager_pid)
manager_ready() { grep -q ready "$E2E_TMP/manager.log"; }
wait_until 10 manager_ready || fail "the stand-in manager did not start"
start_app "$dir/Hexatint91"
click_at 24 64                # swatch 1: #0000ff
wait_until 10 clipboard_is "#0000ff" || fail "the click did not copy #0000ff"
menu_key x
wait_exit 20
[ "$STATUS" = 0 ] || fail "exit status $STATUS after the exit item"
manager_told() { grep -q SAVE_TARGETS "$E2E_TMP/manager.log"; }
wait_until 10 manager_told || true  # what it was told is checked next
grep -qx 'SAVE_TARGETS #0000ff' "$E2E_TMP/manager.log" ||
  { cat "$E2E_TMP/manager.log" >&2; fail "the manager was not handed #0000ff"; }
check_sanitizers
note "ok"

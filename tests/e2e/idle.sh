#!/usr/bin/env bash
# The real window is invisible when idle: after a hover that fades a swatch fully in and a
# leave that fades it fully out, no timer runs (the tool's own count, asked with SIGUSR1)
# and the process uses no CPU time (every thread's, from /proc) over a quiet spell.
# Usage: idle.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"

QUIET_S=3        # the spell; bench/run.sh measures 10 s against the 5 ms target
MAX_CPU_US=5000

# CPU time of every thread of the app so far, in microseconds.
cpu_us() {
  cat /proc/"$APP_PID"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%d\n", ns / 1000 }'
}

# The running-timer count the app prints on SIGUSR1 (HEXATINT_TIMER_REPORT).
running_timers() {
  local before
  before=$(grep -c 'running timers:' "$APP_LOG" || true)
  kill -USR1 "$APP_PID"
  for _ in $(seq 50); do
    [ "$(grep -c 'running timers:' "$APP_LOG" || true)" -gt "$before" ] && break
    sleep 0.1
  done
  sed -n 's/^running timers: \([0-9]*\).*/\1/p' "$APP_LOG" | tail -n1
}

start_x
dir=$(install_app 1)
export HEXATINT_TIMER_REPORT=1
start_app "$dir/Hexatint91"
window_origin

note "swatch 1 (#0000ff) fades fully in under the pointer and fully out after it leaves"
move_to 24 64
wait_pixel 6 56 ffffff 5
xdotool mousemove 1000 700
wait_pixel 6 56 0000ff 5

note "no timer runs once the fade has ended"
no_timers() { timers=$(running_timers); [ "$timers" = 0 ]; }
wait_until 10 no_timers || fail "$timers timers still run after the fade"

note "no CPU time over ${QUIET_S} s"
before=$(cpu_us)
sleep "$QUIET_S"
used=$(( $(cpu_us) - before ))
note "used ${used} us"
[ "$used" -lt "$MAX_CPU_US" ] || fail "the idle window used ${used} us of CPU in ${QUIET_S} s"

stop_app
check_sanitizers
note "ok"

#!/usr/bin/env bash
# A long random session with the real window: 20 000 pointer moves, 250 clicks and 250
# right clicks (each menu, once open, dismissed with Escape) at random points. Afterwards
# the process is alive and answers, nothing ticks, its memory is within 1 MB of what it was
# after the first thousand events (the live heap in a sanitized build, whose allocator
# caches freed memory; resident memory otherwise), it closes normally and no sanitizer
# reported anything.
# Usage: soak.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"
HERE=$(cd "$(dirname "$0")" && pwd)
note() { echo "-- [${SECONDS} s] $*"; }
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$HERE/../support/lsan.supp:print_suppressions=0}
# A small quarantine: freed blocks are still poisoned for a while, but the quarantine fills
# within the first events, so that later growth of resident memory is the program's own.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=${SOAK_QUARANTINE_MB:-8}"
export HEXATINT_TIMER_REPORT=1  # SIGUSR1 prints the running-timer count

start_x
dir=$(install_app soak)
start_app "$dir/Hexatint91"
window_origin

# Resident memory of the app in kB.
rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$APP_PID/status"; }

# Waits until the app has used no CPU for half a second (its input is all handled).
wait_idle() {
  local before after
  for _ in $(seq 600); do
    before=$(awk '{ print $14 + $15 }' "/proc/$APP_PID/stat")
    sleep 0.5
    after=$(awk '{ print $14 + $15 }' "/proc/$APP_PID/stat")
    [ "$before" = "$after" ] && return 0
  done
  fail "the app never went idle"
}

# Asks the app for its report (SIGUSR1) and waits for it to appear in its log.
ask_report() {
  local lines
  lines=$(grep -c '^running timers:' "$APP_LOG" || true)
  kill -USR1 "$APP_PID"
  # The report is one write, so its lines arrive together.
  wait_until 10 reported_more "$lines" || fail "the app did not report"
}
reported_more() { [ "$(grep -c '^running timers:' "$APP_LOG" || true)" -gt "$1" ]; }
# The number of timers running in the app now.
running_timers() {
  ask_report
  grep '^running timers:' "$APP_LOG" | tail -n1 | awk '{ print $3 }'
}
# The app's live heap in kB, in a sanitized build (empty otherwise). The sanitizer's
# allocator keeps freed memory cached, so there resident memory does not show growth; the
# live heap does. A build without sanitizers (no such line) is judged by resident memory.
heap_kb() {
  ask_report
  { grep '^heap in use:' "$APP_LOG" || true; } | tail -n1 | awk '{ print int($4 / 1024) }'
}

# One batch: 400 moves with 5 clicks and 5 right clicks among them, all at random client
# points. The moves and clicks go as one xdotool command up to each right click; then the
# menu is awaited and dismissed with Escape, since a key sent before the menu holds the
# keyboard would go to the window instead.
RANDOM=91
batch() {
  local args=() i x y
  for i in $(seq 400); do
    x=$((WX + RANDOM % 448))
    y=$((WY + RANDOM % 228))
    args+=(mousemove "$x" "$y")
    if [ $((i % 80)) -eq 40 ]; then
      args+=(click 1)
    elif [ $((i % 80)) -eq 0 ]; then
      xdotool "${args[@]}" click 3
      args=()
      wait_for 20 "the context menu after $((events + i)) events" menu_shown
      key_to_menu Escape
    fi
  done
  [ ${#args[@]} -eq 0 ] || xdotool "${args[@]}"
}

events=0
for round in $(seq 50); do
  batch
  events=$((events + 410))
  kill -0 "$APP_PID" 2>/dev/null || { cat "$APP_LOG" >&2; fail "the app died after $events events"; }
  if [ "$(menus_open)" -ne 0 ]; then
    fail "a window or menu stayed open after batch $round"
  fi
  [ $((round % 10)) -eq 0 ] && note "after $events events: resident $(rss) kB"
  if [ "$round" -eq 3 ]; then
    wait_idle
    baseline=$(rss)
    heap_baseline=$(heap_kb)
    note "after $events events: resident ${baseline} kB${heap_baseline:+, live heap ${heap_baseline} kB}"
  fi
done

note "all $events events sent; letting the fades end"
xdotool mousemove --sync $((WX + 2)) $((WY + 2))
wait_idle
kill -0 "$APP_PID" 2>/dev/null || fail "the app died"
final=$(rss)
heap_final=$(heap_kb)
note "at the end: resident ${final} kB (baseline ${baseline} kB)${heap_final:+, live heap ${heap_final} kB (baseline ${heap_baseline} kB)}"
# The memory verdict waits for the end, so that one run shows every check.
memory_fault=""
if [ -n "$heap_final" ]; then
  [ $((heap_final - heap_baseline)) -le 1024 ] && [ $((heap_baseline - heap_final)) -le 1024 ] ||
    memory_fault="live heap moved by $((heap_final - heap_baseline)) kB"
else
  [ $((final - baseline)) -le 1024 ] && [ $((baseline - final)) -le 1024 ] ||
    memory_fault="resident memory moved by $((final - baseline)) kB"
fi
timers=$(running_timers)
note "running timers while idle: $timers"
[ "$timers" = 0 ] || fail "$timers timers still run while idle"

note "the window still answers and closes"
printf 'nothing' | xclip -selection clipboard
click_at 424 124
wait_clipboard "#ff9900"
exit_through_menu
grep -q '^FRON=' "$dir/Hexatint91.ini" || fail "the close wrote no setting"
check_sanitizers
[ -z "$memory_fault" ] || fail "$memory_fault"
echo "soak: all checks passed"

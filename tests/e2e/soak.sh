#!/usr/bin/env bash
# A long random session with the real window: 20 000 pointer moves, 250 clicks and 250
# right clicks (each menu dismissed with Escape) at random points. Afterwards the process is
# alive and answers, nothing ticks, its memory is within 1 MB of what it was after the first
# thousand events (the live heap in a sanitized build, whose allocator caches freed memory;
# resident memory otherwise), it closes normally and no sanitizer reported anything.
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
  for _ in $(seq 50); do
    [ "$(grep -c '^running timers:' "$APP_LOG" || true)" -gt "$lines" ] && { sleep 0.1; return 0; }
    sleep 0.1
  done
}
# The number of timers running in the app now.
running_timers() {
  ask_report
  grep '^running timers:' "$APP_LOG" | tail -n1 | awk '{ print $3 }'
}
# The app's live heap in kB, in a sanitized build (empty otherwise). The sanitizer's
# allocator keeps freed memory cached, so there resident memory does not show growth; the
# live heap does. A build without sanitizers is judged by resident memory.
heap_kb() {
  ask_report
  grep '^heap in use:' "$APP_LOG" | tail -n1 | awk '{ print int($4 / 1024) }'
}

# A menu left open would swallow what follows: counts the visible menu windows (hint
# windows come and go by themselves).
open_menus() {
  local w n=0
  for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q 'MENU' && n=$((n + 1))
  done
  echo $n
}

# One batch: 400 moves with 5 clicks and 5 right clicks among them, all at random client
# points, as one xdotool command.
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
      args+=(click 3 sleep 0.15 key Escape sleep 0.05)
    fi
  done
  xdotool "${args[@]}"
}

events=0
for round in $(seq 50); do
  batch
  events=$((events + 410))
  kill -0 "$APP_PID" 2>/dev/null || { cat "$APP_LOG" >&2; fail "the app died after $events events"; }
  if [ "$(open_menus)" -ne 0 ]; then
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
sleep 1
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
sleep 0.5
clip=$(xclip -o -selection clipboard 2>/dev/null || true)
[ "$clip" = "#ff9900" ] || fail "a click on #ff9900 put '$clip' on the clipboard"
xdotool mousemove $((WX + 4)) $((WY + 4))
exit_through_menu 100
wait "$APP_PID" 2>/dev/null || true
grep -q '^FRON=' "$dir/Hexatint91.ini" || fail "the close wrote no setting"
check_sanitizers
[ -z "$memory_fault" ] || fail "$memory_fault"
echo "soak: all checks passed"

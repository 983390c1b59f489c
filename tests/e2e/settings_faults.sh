#!/usr/bin/env bash
# The settings file under faults, on the real executable: folders and files the user may
# not write (run as nobody, since root writes anywhere; the config folder then takes the
# setting), a folder or a dangling link in place of the file, noise, CR LF without a last break, a 100 MB file, twenty windows
# closing at once and the process killed while it writes. Each time: no crash, no hang,
# the file is the old or the new one, and after an error box the window still works.
# Usage: settings_faults.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"
HERE=$(cd "$(dirname "$0")" && pwd)
note() { echo "-- [${SECONDS} s] $*"; }
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$HERE/../support/lsan.supp:print_suppressions=0}

chmod 755 "$E2E_TMP"  # the unprivileged runs must reach their folders
start_x

# A launcher that runs the executable at $2 as nobody; prints the launcher's path. The
# executable is exec'ed, so the launcher's process id is the app's.
nobody_launcher() {
  local launcher="$E2E_TMP/as-nobody-$1"
  printf '#!/bin/sh\nexec setpriv --reuid=65534 --regid=65534 --clear-groups %q\n' "$2" >"$launcher"
  chmod 755 "$launcher"
  echo "$launcher"
}

on_top() { xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }

# Chooses the context menu item with access key $1. Changing the always-on-top state
# re-creates the native window, so WIN is looked up again.
menu_key() {
  # Through (4, 4): a synced move to where the pointer already is waits for nothing to come.
  xdotool mousemove $((WX + 4)) $((WY + 4))
  move_to 2 2
  xdotool click 3
  sleep 0.5
  xdotool key "$1"
  if [ "$1" = s ]; then
    sleep 0.5
    WIN=$(xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null | head -n1 || true)
    [ -n "$WIN" ] || fail "no window after toggling always-on-top"
  fi
}

wait_exit() {
  local deadline=$((SECONDS + ${1:-10}))
  while kill -0 "$APP_PID" 2>/dev/null; do
    [ $SECONDS -ge $deadline ] && fail "the app did not end"
    sleep 0.1
  done
  wait "$APP_PID" 2>/dev/null || true
}

# Waits for the error box (a second window captioned Hexatint91); sets BOX.
error_box() {
  BOX=""
  for _ in $(seq 100); do
    BOX=$(xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null | grep -vx "$WIN" | head -n1 || true)
    [ -n "$BOX" ] && return 0
    kill -0 "$APP_PID" 2>/dev/null || fail "the app ended instead of showing the error"
    sleep 0.1
  done
  fail "no error box appeared"
}

# OK on the box (it holds the focus), then the box is gone and the window is still there.
dismiss_box() {
  xdotool key Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null | grep -qx "$BOX" || break
    sleep 0.1
  done
  xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null | grep -qx "$BOX" && fail "the error box stayed"
  kill -0 "$APP_PID" 2>/dev/null || fail "the app ended after the error box"
  xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null | grep -qx "$WIN" || fail "the window went away"
}

# The window still answers: a click on swatch 89 puts #ff9900 on the clipboard.
responds() {
  printf 'nothing' | xclip -selection clipboard
  click_at 424 124
  sleep 0.5
  local clip
  clip=$(xclip -o -selection clipboard 2>/dev/null || true)
  [ "$clip" = "#ff9900" ] || fail "the window did not answer a click (clipboard '$clip')"
}

# An unwritable settings file: every close shows the box and keeps the window usable; once
# $1 (a command) has made it writable, the close goes through.
close_refused_then_allowed() {
  menu_key x
  error_box
  dismiss_box
  responds
  menu_key x  # each close tries again
  error_box
  dismiss_box
  eval "$1"
  menu_key x
  wait_exit
}

listing() { (cd "$1" && ls -A | tr '\n' ' '); }
# Whether file $2 holds exactly the bytes of printf format $1.
holds() { printf "$1" | cmp -s - "$2"; }

config=$XDG_CONFIG_HOME/Hexatint91/Hexatint91.ini
# A config folder nobody may use, until $1 makes it.
config_unusable() { rm -rf "$XDG_CONFIG_HOME"; }
make_config_for_nobody="mkdir -m 700 '$XDG_CONFIG_HOME' && chown 65534 '$XDG_CONFIG_HOME'"

note "read-only folder without a settings file (as nobody): the config folder takes it"
config_unusable
dir=$(install_app ro-folder)
chmod 555 "$dir"
start_app "$(nobody_launcher ro-folder "$dir/Hexatint91")"
window_origin
on_top || fail "the window does not start on top"
close_refused_then_allowed "$make_config_for_nobody"
holds '[SET]\nFRON=1\n' "$config" || fail "settings not written to the config folder once it could be made"
[ "$(stat -c %a "$XDG_CONFIG_HOME/Hexatint91")" = 700 ] || fail "the config folder is not private"
[ "$(listing "$dir")" = "Hexatint91 " ] || fail "left in the folder: $(listing "$dir")"

note "read-only settings file in a writable folder (as nobody): read from it, saved to the config folder"
config_unusable
dir=$(install_app ro-file)
chmod 777 "$dir"
printf '[SET]\nFRON=0\n' >"$dir/Hexatint91.ini"
chmod 444 "$dir/Hexatint91.ini"
start_app "$(nobody_launcher ro-file "$dir/Hexatint91")"
window_origin
on_top && fail "FRON=0 was not read"
menu_key s
close_refused_then_allowed "$make_config_for_nobody"
holds '[SET]\nFRON=0\n' "$dir/Hexatint91.ini" || fail "the read-only file changed"
holds '[SET]\nFRON=1\n' "$config" || fail "settings not written to the config folder"
[ "$(listing "$dir")" = "Hexatint91 Hexatint91.ini " ] || fail "left in the folder: $(listing "$dir")"
start_app "$(nobody_launcher ro-file "$dir/Hexatint91")"
window_origin
on_top || fail "the next start did not read the config folder's file"
menu_key x
wait_exit

note "a folder in place of the settings file: passed over for the config folder"
config_unusable
dir=$(install_app folder-as-file)
mkdir "$dir/Hexatint91.ini"
start_app "$dir/Hexatint91"
window_origin
on_top || fail "the window does not start on top"
menu_key s
menu_key x
wait_exit
holds '[SET]\nFRON=0\n' "$config" || fail "settings not written to the config folder"
[ -d "$dir/Hexatint91.ini" ] && [ -z "$(ls -A "$dir/Hexatint91.ini")" ] || fail "the folder in the way was touched"
config_unusable

note "a dangling link: the first close creates the file it names"
dir=$(install_app link)
ln -s real.ini "$dir/Hexatint91.ini"
start_app "$dir/Hexatint91"
window_origin
on_top || fail "the window does not start on top"
menu_key x
wait_exit
[ -L "$dir/Hexatint91.ini" ] || fail "the link was replaced"
holds '[SET]\nFRON=1\n' "$dir/real.ini" || fail "the linked file was not written"

note "binary noise with NUL bytes: read as no setting, kept, one FRON added"
dir=$(install_app noise)
head -c 65536 "$APP" >"$dir/noise"
cp "$dir/noise" "$dir/Hexatint91.ini"
start_app "$dir/Hexatint91"
window_origin
on_top || fail "the window does not start on top"
menu_key x
wait_exit
cmp -s -n 65536 "$dir/noise" "$dir/Hexatint91.ini" || fail "the noise was not kept"
[ "$(grep -a -c '^FRON=' "$dir/Hexatint91.ini")" = 1 ] || fail "not exactly one FRON line"
tail -c 12 "$dir/Hexatint91.ini" | grep -q "$(printf 'FRON=1')" || fail "FRON=1 not at the end"

note "CR LF without a last line break"
dir=$(install_app crlf)
printf '; mine\r\n[SET]\r\nFRON=0' >"$dir/Hexatint91.ini"
start_app "$dir/Hexatint91"
window_origin
on_top && fail "FRON=0 was not read"
menu_key s
menu_key x
wait_exit
holds '; mine\r\n[SET]\r\nFRON=1' "$dir/Hexatint91.ini" || fail "CR LF file not rewritten byte for byte"

note "a 100 MB settings file: start-up stays as fast, the close keeps every byte"
dir=$(install_app huge)
t0=$(date +%s%N)
start_app "$dir/Hexatint91"
base_ms=$((($(date +%s%N) - t0) / 1000000))
stop_app
filler() { set +o pipefail; yes 'Filler=fffffffffffffffffffffffffffffffffffffffffffffffffffffffffff' | head -c 100000000; }
{ printf '[SET]\nFRON=0\n'; filler; } >"$dir/old.ini"
{ printf '[SET]\nFRON=1\n'; tail -c +14 "$dir/old.ini"; } >"$dir/new.ini"
cp "$dir/old.ini" "$dir/Hexatint91.ini"
t0=$(date +%s%N)
start_app "$dir/Hexatint91"
huge_ms=$((($(date +%s%N) - t0) / 1000000))
note "start-up: ${base_ms} ms without a file, ${huge_ms} ms with 100 MB"
[ $huge_ms -le $((base_ms + 1000)) ] || fail "start-up with a 100 MB file took ${huge_ms} ms against ${base_ms} ms"
window_origin
on_top && fail "FRON=0 was not read"
menu_key s
t0=$(date +%s%N)
menu_key x
wait_exit 60
close_ms=$((($(date +%s%N) - t0) / 1000000))
note "the close with 100 MB took ${close_ms} ms"
cmp -s "$dir/new.ini" "$dir/Hexatint91.ini" || fail "the 100 MB file was not rewritten exactly"
[ "$(listing "$dir")" = "Hexatint91 Hexatint91.ini new.ini old.ini " ] || fail "left in the folder: $(listing "$dir")"

note "killed (SIGKILL) at random points while writing 100 MB: the old or the new file"
RANDOM=91
for round in 1 2 3 4 5 6; do
  cp "$dir/old.ini" "$dir/Hexatint91.ini"
  start_app "$dir/Hexatint91"
  window_origin
  menu_key s
  menu_key x
  delay_ms=$(((RANDOM * 32768 + RANDOM) % (close_ms + 1)))
  sleep "$((delay_ms / 1000)).$(printf '%03d' $((delay_ms % 1000)))"
  kill -KILL "$APP_PID" 2>/dev/null || true
  wait "$APP_PID" 2>/dev/null || true
  if cmp -s "$dir/old.ini" "$dir/Hexatint91.ini"; then
    note "round $round, killed after ${delay_ms} ms: old file"
  elif cmp -s "$dir/new.ini" "$dir/Hexatint91.ini"; then
    note "round $round, killed after ${delay_ms} ms: new file"
  else
    fail "round $round: torn settings file"
  fi
  [ "$(listing "$dir")" = "Hexatint91 Hexatint91.ini new.ini old.ini " ] || fail "round $round left: $(listing "$dir")"
done
rm -f "$dir/old.ini" "$dir/new.ini" "$dir/Hexatint91.ini"

note "twenty windows closing at once: one whole file with one FRON"
dir=$(install_app twenty)
printf '; kept\n[Other]\nA=1\n' >"$dir/Hexatint91.ini"
expected=$(printf '; kept\n[Other]\nA=1\n[SET]\nFRON=1')
pids=()
for i in $(seq 20); do
  "$dir/Hexatint91" >"$E2E_TMP/app-twenty-$i.log" 2>&1 &
  pids+=($!)
  E2E_PIDS+=($!)
done
for _ in $(seq 300); do
  [ "$(xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null | wc -l)" -ge 20 ] && break
  sleep 0.1
done
mapfile -t wins < <(xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null)
[ ${#wins[@]} -eq 20 ] || fail "${#wins[@]} windows instead of 20"
sleep 1
python3 "$HERE/close_windows.py" "${wins[@]}"
deadline=$((SECONDS + 60))
while :; do
  alive=0
  for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive=$((alive + 1)); done
  now=$(cat "$dir/Hexatint91.ini")
  [ "$now" = "$(printf '; kept\n[Other]\nA=1')" ] || [ "$now" = "$expected" ] || fail "torn file while closing: $now"
  [ $alive -eq 0 ] && break
  [ $SECONDS -ge $deadline ] && fail "$alive instances did not end"
done
[ "$(cat "$dir/Hexatint91.ini")" = "$expected" ] || fail "after twenty closes: $(cat "$dir/Hexatint91.ini")"
[ "$(listing "$dir")" = "Hexatint91 Hexatint91.ini " ] || fail "left in the folder: $(listing "$dir")"

check_sanitizers
echo "settings faults: all checks passed"

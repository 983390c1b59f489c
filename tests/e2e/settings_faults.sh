#!/usr/bin/env bash
# The settings file under faults, on the real executable: folders and files the user may
# not write (as nobody when run by root, who writes anywhere; the config folder then takes
# the setting), a folder or a dangling link in place of the file, a FIFO or a device in place
# of the file, noise, CR LF without a last break, files near and far beyond the size limit
# (two MiB of comments, 64 GB sparse, 100 MB), twenty windows closing at once and the process
# killed while it writes. Each time: no crash, no hang,
# the file is the old or the new one, and after an error box the window still works.
# Usage: settings_faults.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"
HERE=$(cd "$(dirname "$0")" && pwd)
note() { echo "-- [${SECONDS} s] $*"; }
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$HERE/../support/lsan.supp:print_suppressions=0}

chmod 755 "$E2E_TMP"  # the unprivileged runs must reach their folders
start_x

# The user the permission cases run as: root writes anywhere, so root's runs drop to
# nobody; anyone else runs the app directly, and is refused like any user. Each case first
# checks that the write really is refused for that user and is skipped, saying why, when it
# is not (a user with the power to override permissions) or when root cannot drop to nobody.
if [ "$(id -u)" = 0 ]; then
  as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
  USER_NAME=nobody
else
  as_user() { "$@"; }
  USER_NAME=$(id -un)
fi
# Why the permission cases cannot run here; empty when they can.
PERMISSION_SKIP=""
as_user true 2>/dev/null || PERMISSION_SKIP="root could not become nobody (setpriv failed)"
# Whether the user cannot create a file in folder $1.
create_refused() { ! as_user sh -c 'touch "$1/probe" && rm -f "$1/probe"' sh "$1" 2>/dev/null; }
# Whether the user cannot open file $1 for writing.
write_refused() { ! as_user sh -c ': >>"$1"' sh "$1" 2>/dev/null; }
# Whether to run the permission case named $1, given that "$2" (a check) holds.
permission_case() {
  local why=$PERMISSION_SKIP
  [ -z "$why" ] && ! eval "$2" && why="the write is not refused for $USER_NAME ($2 fails)"
  [ -z "$why" ] && return 0
  echo "SKIP: $1: $why"
  return 1
}

# A launcher that runs the executable at $2 as the user; prints the launcher's path. The
# executable is exec'ed, so the launcher's process id is the app's.
user_launcher() {
  local launcher="$E2E_TMP/as-user-$1"
  if [ "$(id -u)" = 0 ]; then
    printf '#!/bin/sh\nexec setpriv --reuid=65534 --regid=65534 --clear-groups %q\n' "$2" >"$launcher"
  else
    printf '#!/bin/sh\nexec %q\n' "$2" >"$launcher"
  fi
  chmod 755 "$launcher"
  echo "$launcher"
}

# Chooses the always-on-top item, then finds the window again: the change re-creates the
# native window. $1 is the state it should now be in (yes or no).
toggle_on_top() {
  menu_key s
  wait_on_top "$1"
}

wait_exit() { wait_gone "$APP_PID" "${1:-20}"; }

# Sets BOX to the error box: a dialog captioned Hexatint91 beside the window.
box_shown() {
  local w
  kill -0 "$APP_PID" 2>/dev/null || fail "the app ended instead of showing the error"
  for w in $(xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null); do
    [ "$w" = "$WIN" ] && continue
    xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q DIALOG || continue
    BOX=$w
    return 0
  done
  return 1
}
error_box() { BOX=""; wait_for 30 "the error box" box_shown; }

box_gone() { ! xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null | grep -qx "$BOX"; }
# OK on the box (it takes the focus once shown; until then the key is pressed again, a few
# seconds apart), then the box is gone and the window is still there.
dismiss_box() {
  local attempt
  for attempt in 1 2 3 4 5; do
    xdotool key Return
    wait_until 4 box_gone && break
  done
  box_gone || fail "the error box stayed"
  kill -0 "$APP_PID" 2>/dev/null || fail "the app ended after the error box"
  xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null | grep -qx "$WIN" || fail "the window went away"
}

# The window still answers: a click on swatch 89 puts #ff9900 on the clipboard.
responds() {
  printf 'nothing' | xclip -selection clipboard
  click_at 424 124
  wait_until 10 clipboard_is "#ff9900" ||
    fail "the window did not answer a click (clipboard '$(xclip -o -selection clipboard 2>/dev/null || true)')"
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
# A file where the config folder goes: no one can make the folder there, root included.
block_config() { rm -rf "$XDG_CONFIG_HOME"; : >"$XDG_CONFIG_HOME"; }
# The config home, made for the user (nobody may not write in $E2E_TMP).
mend_config="rm -f '$XDG_CONFIG_HOME' && mkdir -m 700 '$XDG_CONFIG_HOME' && chown $(as_user id -u) '$XDG_CONFIG_HOME'"

note "read-only folder without a settings file (as $USER_NAME): the config folder takes it"
dir=$(install_app ro-folder)
chmod 555 "$dir"
if permission_case "read-only folder" "create_refused '$dir'"; then
  block_config
  start_app "$(user_launcher ro-folder "$dir/Hexatint91")"
  on_top "$WIN" || fail "the window does not start on top"
  close_refused_then_allowed "$mend_config"
  holds '[SET]\nFRON=1\n' "$config" || fail "settings not written to the config folder once it could be made"
  [ "$(stat -c %a "$XDG_CONFIG_HOME/Hexatint91")" = 700 ] || fail "the config folder is not private"
  [ "$(listing "$dir")" = "Hexatint91 " ] || fail "left in the folder: $(listing "$dir")"
fi

note "read-only settings file in a writable folder (as $USER_NAME): read from it, saved to the config folder"
dir=$(install_app ro-file)
chmod 777 "$dir"
printf '[SET]\nFRON=0\n' >"$dir/Hexatint91.ini"
chmod 444 "$dir/Hexatint91.ini"
if permission_case "read-only file" "write_refused '$dir/Hexatint91.ini'"; then
  block_config
  start_app "$(user_launcher ro-file "$dir/Hexatint91")"
  on_top "$WIN" && fail "FRON=0 was not read"
  toggle_on_top yes
  close_refused_then_allowed "$mend_config"
  holds '[SET]\nFRON=0\n' "$dir/Hexatint91.ini" || fail "the read-only file changed"
  holds '[SET]\nFRON=1\n' "$config" || fail "settings not written to the config folder"
  [ "$(listing "$dir")" = "Hexatint91 Hexatint91.ini " ] || fail "left in the folder: $(listing "$dir")"
  start_app "$(user_launcher ro-file "$dir/Hexatint91")"
  on_top "$WIN" || fail "the next start did not read the config folder's file"
  menu_key x
  wait_exit
fi

note "a folder in place of the settings file: passed over for the config folder"
rm -rf "$XDG_CONFIG_HOME"
dir=$(install_app folder-as-file)
mkdir "$dir/Hexatint91.ini"
start_app "$dir/Hexatint91"
on_top "$WIN" || fail "the window does not start on top"
toggle_on_top no
menu_key x
wait_exit
holds '[SET]\nFRON=0\n' "$config" || fail "settings not written to the config folder"
[ -d "$dir/Hexatint91.ini" ] && [ -z "$(ls -A "$dir/Hexatint91.ini")" ] || fail "the folder in the way was touched"
rm -rf "$XDG_CONFIG_HOME"

note "a dangling link: the first close creates the file it names"
dir=$(install_app link)
ln -s real.ini "$dir/Hexatint91.ini"
start_app "$dir/Hexatint91"
on_top "$WIN" || fail "the window does not start on top"
menu_key x
wait_exit
[ -L "$dir/Hexatint91.ini" ] || fail "the link was replaced"
holds '[SET]\nFRON=1\n' "$dir/real.ini" || fail "the linked file was not written"

note "binary noise with NUL bytes: read as no setting, kept, one FRON added"
dir=$(install_app noise)
head -c 65536 "$APP" >"$dir/noise"
cp "$dir/noise" "$dir/Hexatint91.ini"
start_app "$dir/Hexatint91"
on_top "$WIN" || fail "the window does not start on top"
menu_key x
wait_exit
cmp -s -n 65536 "$dir/noise" "$dir/Hexatint91.ini" || fail "the noise was not kept"
[ "$(grep -a -c '^FRON=' "$dir/Hexatint91.ini")" = 1 ] || fail "not exactly one FRON line"
tail -c 12 "$dir/Hexatint91.ini" | grep -q "$(printf 'FRON=1')" || fail "FRON=1 not at the end"

note "CR LF without a last line break"
dir=$(install_app crlf)
printf '; mine\r\n[SET]\r\nFRON=0' >"$dir/Hexatint91.ini"
start_app "$dir/Hexatint91"
on_top "$WIN" && fail "FRON=0 was not read"
toggle_on_top yes
menu_key x
wait_exit
holds '; mine\r\n[SET]\r\nFRON=1' "$dir/Hexatint91.ini" || fail "CR LF file not rewritten byte for byte"

# The app's peak resident memory in MiB.
peak_mib() { awk '/^VmHWM:/ { print int($2 / 1024) }' /proc/"$APP_PID"/status; }

# Start-up times are compared with one without a settings file: a FIFO or a device read
# would hold the start for ever or for long, which the comparison (and the deadline) catch.
dir=$(install_app plain)
t0=$(now_ms)
start_app "$dir/Hexatint91"
base_ms=$(($(now_ms) - t0))
stop_app
note "start-up without a settings file: ${base_ms} ms"

note "a FIFO or a link to /dev/zero in place of the file: start-up as fast, never opened, saved in the config folder"
for shape in fifo zero; do
  rm -rf "$XDG_CONFIG_HOME"
  dir=$(install_app "shape-$shape")
  if [ $shape = fifo ]; then mkfifo "$dir/Hexatint91.ini"; else ln -s /dev/zero "$dir/Hexatint91.ini"; fi
  t0=$(now_ms)
  start_app "$dir/Hexatint91"
  shape_ms=$(($(now_ms) - t0))
  note "$shape: start-up ${shape_ms} ms"
  [ $shape_ms -le $((base_ms + 1000)) ] || fail "start-up with a $shape took ${shape_ms} ms against ${base_ms} ms"
  on_top "$WIN" || fail "the window does not start on top"
  toggle_on_top no
  menu_key x
  wait_exit
  holds '[SET]\nFRON=0\n' "$config" || fail "settings not written to the config folder past the $shape"
  if [ $shape = fifo ]; then [ -p "$dir/Hexatint91.ini" ]; else [ -L "$dir/Hexatint91.ini" ]; fi ||
    fail "the $shape in the way was replaced"
done
rm -rf "$XDG_CONFIG_HOME"

note "a sparse 64 GB settings file: start-up as fast, a box on close at once, memory stays small"
dir=$(install_app sparse)
truncate -s 64G "$dir/Hexatint91.ini"
t0=$(now_ms)
start_app "$dir/Hexatint91"
sparse_ms=$(($(now_ms) - t0))
[ $sparse_ms -le $((base_ms + 1000)) ] || fail "start-up with 64 GB took ${sparse_ms} ms against ${base_ms} ms"
before_mib=$(peak_mib)
menu_key x
error_box
after_mib=$(peak_mib)
note "start-up ${sparse_ms} ms; peak memory ${before_mib} MiB before the close, ${after_mib} MiB after"
[ $((after_mib - before_mib)) -le 64 ] || fail "the close grew memory from ${before_mib} to ${after_mib} MiB"
dismiss_box
responds
[ "$(stat -c %s "$dir/Hexatint91.ini")" = 68719476736 ] || fail "the 64 GB file changed"
close_refused_then_allowed "rm '$dir/Hexatint91.ini'"

note "two MiB of comments: the choice is saved, read back by the next start, every other line kept"
dir=$(install_app comments)
comments() { set +o pipefail; yes '; a comment the user wrote, kept byte for byte by every save of the tool' | head -n 29000; }
{ comments; printf '[SET]\nFRON=0\n'; } >"$dir/Hexatint91.ini"
{ comments; printf '[SET]\nFRON=1\n'; } >"$dir/expected.ini"
start_app "$dir/Hexatint91"
on_top "$WIN" && fail "FRON=0 after two MiB was not read"
toggle_on_top yes
menu_key x
wait_exit
cmp -s "$dir/expected.ini" "$dir/Hexatint91.ini" || fail "the commented file was not rewritten exactly"
start_app "$dir/Hexatint91"
on_top "$WIN" || fail "the saved choice was not read back"
menu_key x
wait_exit

note "a 100 MB settings file (beyond the size limit): read at start-up, the close refused, the file kept"
dir=$(install_app huge)
filler() { set +o pipefail; yes 'Filler=fffffffffffffffffffffffffffffffffffffffffffffffffffffffffff' | head -c "$1"; }
{ printf '[SET]\nFRON=0\n'; filler 100000000; } >"$dir/old.ini"
cp "$dir/old.ini" "$dir/Hexatint91.ini"
t0=$(now_ms)
start_app "$dir/Hexatint91"
huge_ms=$(($(now_ms) - t0))
note "start-up: ${base_ms} ms without a file, ${huge_ms} ms with 100 MB"
[ $huge_ms -le $((base_ms + 1000)) ] || fail "start-up with a 100 MB file took ${huge_ms} ms against ${base_ms} ms"
on_top "$WIN" && fail "FRON=0 was not read"
toggle_on_top yes
menu_key x
error_box
dismiss_box
responds
stop_app
cmp -s "$dir/old.ini" "$dir/Hexatint91.ini" || fail "the 100 MB file changed"
[ "$(listing "$dir")" = "Hexatint91 Hexatint91.ini old.ini " ] || fail "left in the folder: $(listing "$dir")"
rm -f "$dir"/*.ini

note "killed (SIGKILL) at random points while writing a file near the size limit: the old or the new file"
{ printf '[SET]\nFRON=0\n'; filler 4000000; } >"$dir/old.ini"
{ printf '[SET]\nFRON=1\n'; tail -c +14 "$dir/old.ini"; } >"$dir/new.ini"
cp "$dir/old.ini" "$dir/Hexatint91.ini"
start_app "$dir/Hexatint91"
toggle_on_top yes
t0=$(now_ms)
menu_key x
wait_exit 60
close_ms=$(($(now_ms) - t0))
note "the close with 4 MB took ${close_ms} ms"
cmp -s "$dir/new.ini" "$dir/Hexatint91.ini" || fail "the 4 MB file was not rewritten exactly"
[ "$(listing "$dir")" = "Hexatint91 Hexatint91.ini new.ini old.ini " ] || fail "left in the folder: $(listing "$dir")"
RANDOM=91
for round in 1 2 3 4 5 6; do
  cp "$dir/old.ini" "$dir/Hexatint91.ini"
  start_app "$dir/Hexatint91"
  toggle_on_top yes
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
twenty_shown() { [ "$(xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null | wc -l)" -ge 20 ]; }
wait_until 60 twenty_shown || true  # the count is checked next
mapfile -t wins < <(xdotool search --onlyvisible --name '^Hexatint91$' 2>/dev/null)
[ ${#wins[@]} -eq 20 ] || fail "${#wins[@]} windows instead of 20"
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

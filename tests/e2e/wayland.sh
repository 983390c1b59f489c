#!/usr/bin/env bash
# A Wayland session: sway on its headless backend, run by an unprivileged user. Started
# with no platform chosen, the window comes up through Xwayland (where it can stay on top
# and keep its tool-window frame) and shows on the screen (a grim screenshot holds its
# swatches); a platform the user sets (QT_QPA_PLATFORM=wayland) is honoured: the window
# is then a native Wayland one. Skips (status 77) without sway, grim or Xwayland.
# Usage: wayland.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"
note() { echo "-- [${SECONDS} s] $*"; }
skip() { echo "SKIP: $*"; exit 77; }
for tool in sway swaymsg grim Xwayland python3 convert; do
  command -v $tool >/dev/null || skip "$tool is not installed (test.sh installs it)"
done

chmod 755 "$E2E_TMP"
user=(env)
if [ "$(id -u)" = 0 ]; then
  user=(setpriv --reuid=65534 --regid=65534 --clear-groups env)  # sway is not run as root
  uid=65534
else
  uid=$(id -u)
fi
runtime=$E2E_TMP/runtime
home=$E2E_TMP/home
logs=$E2E_TMP/logs
mkdir -m 700 "$runtime" "$home"
mkdir -m 755 "$logs"
[ "$uid" = "$(id -u)" ] || chown "$uid" "$runtime" "$home" "$logs"
dir=$(install_app wayland)
chmod 755 "$dir"

cat >"$E2E_TMP/sway.conf" <<'CONF'
output HEADLESS-1 resolution 1024x768 position 0 0 bg #000000 solid_color
xwayland enable
CONF
chmod 644 "$E2E_TMP/sway.conf"
"${user[@]}" -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless \
  WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$E2E_TMP/sway.conf" >"$E2E_TMP/sway.log" 2>&1 &
E2E_PIDS+=($!)
SWAY_PID=$!

note "waiting for sway"
deadline=$((SECONDS + 20))
while :; do
  sock=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -n1 || true)
  wl=$(cd "$runtime" && ls wayland-* 2>/dev/null | grep -v lock | head -n1 || true)
  if [ -n "$sock" ] && [ -n "$wl" ] && "${user[@]}" SWAYSOCK="$sock" swaymsg -t get_outputs >/dev/null 2>&1; then break; fi
  kill -0 $SWAY_PID 2>/dev/null || { cat "$E2E_TMP/sway.log" >&2; fail "sway ended"; }
  [ $SECONDS -ge $deadline ] && { cat "$E2E_TMP/sway.log" >&2; fail "sway did not come up"; }
  sleep 0.1
done
msg() { "${user[@]}" SWAYSOCK="$sock" swaymsg "$@"; }

# The window's shell in sway's tree ("xwayland" or "xdg_shell"), or nothing while absent.
window_shell() {
  msg -t get_tree -r 2>/dev/null | python3 -c '
import json, sys
def walk(node):
    if node.get("name") == "Hexatint91" and node.get("pid"):
        r = node.get("rect", {})
        print(node.get("shell"), node.get("pid"), r.get("x"), r.get("y"), r.get("width"), r.get("height"))
        sys.exit(0)
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}

# Starts the app inside the session (with $1 as extra environment), waits for its window
# and checks its shell is $2; then a screenshot must show the swatches.
run_in_session() {
  local log=$logs/app-$2.log pidfile=$logs/pid-$2
  msg exec "env $1 sh -c 'echo \$\$ >$pidfile; exec $dir/Hexatint91 >$log 2>&1'" >/dev/null
  local deadline=$((SECONDS + 30)) found=""
  while :; do
    found=$(window_shell || true)
    [ -n "$found" ] && break
    [ $SECONDS -ge $deadline ] && { cat "$log" >&2; fail "no window named Hexatint91 in sway's tree"; }
    sleep 0.2
  done
  read -r shell pid _ _ width height <<<"$found"
  E2E_PIDS+=($pid)
  note "window: shell $shell, ${width}x$height"
  [ "$shell" = "$2" ] || fail "the window runs on $shell, expected $2"
  local shot=$logs/shot-$2.png count=0
  deadline=$((SECONDS + 15))
  while :; do
    "${user[@]}" XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$wl" grim "$shot" 2>"$logs/grim.log" || true
    # Swatch #ff9900 covers a 36 x 21 face at any scale 1 output.
    [ -s "$shot" ] && count=$(convert "$shot" -fill black +opaque '#ff9900' -fill white -opaque '#ff9900' \
        -format '%[fx:int(mean*w*h+0.5)]' info: 2>/dev/null || echo 0)
    [ "$count" -ge 400 ] && break
    [ $SECONDS -ge $deadline ] && { cat "$logs/grim.log" >&2; fail "the screenshot shows $count pixels of #ff9900"; }
    sleep 0.2
  done
  note "screenshot: $count pixels of #ff9900"
  kill "$pid"
  deadline=$((SECONDS + 10))
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -ge $deadline ] && fail "the app did not end"
    sleep 0.1
  done
}

note "no platform chosen: through Xwayland"
run_in_session "" xwayland
if [ -e /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so ] ||
   ls /usr/lib/*/qt6/plugins/platforms/libqwayland-*.so >/dev/null 2>&1; then
  note "QT_QPA_PLATFORM=wayland, set by the user: honoured"
  run_in_session "QT_QPA_PLATFORM=wayland" xdg_shell
else
  note "no Qt Wayland plugin: the user's own choice cannot be tried here"
fi
grep -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$logs"/app-*.log && fail "a sanitizer reported a fault"
echo "wayland: all checks passed"

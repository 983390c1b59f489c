#!/usr/bin/env bash
# The copy-format submenu: chosen with the keyboard, a click on #ff9900 copies exactly
# "rgb(255, 153, 0)", and the choice survives a restart.
# Usage: copy_format.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"

start_x
dir=$(install_app 1)

# The clipboard after a click on swatch 89 (#ff9900).
copy_89() {
  click_at 424 124
  sleep 0.3
  xclip -o -selection clipboard 2>/dev/null || true
}

start_app "$dir/Hexatint91"
window_origin
note "by default a click copies #ff9900"
[ "$(copy_89)" = "#ff9900" ] || fail "the default copy is not #ff9900"

note "the menu's copy-format submenu (key c), its fifth item: rgb(...)"
move_to 2 2
xdotool click 3
sleep 0.5
xdotool key c
sleep 0.4
xdotool key Down Down Down Down Return
sleep 0.4
clip=$(copy_89)
[ "$clip" = "rgb(255, 153, 0)" ] || fail "clipboard holds '$clip'"

note "the choice is saved on close and read at the next start"
exit_through_menu 50
grep -qx 'FORMAT=rgb' "$dir/Hexatint91.ini" || { cat "$dir/Hexatint91.ini" >&2; fail "FORMAT=rgb not written"; }
start_app "$dir/Hexatint91"
window_origin
clip=$(copy_89)
[ "$clip" = "rgb(255, 153, 0)" ] || fail "after a restart the clipboard holds '$clip'"
exit_through_menu 50
check_sanitizers
echo "PASS"

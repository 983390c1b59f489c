#!/usr/bin/env bash
# The copy-format submenu: chosen with the keyboard, a click on #ff9900 copies exactly
# "rgb(255, 153, 0)", and the choice survives a restart.
# Usage: copy_format.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"

start_x
dir=$(install_app 1)

# Clicks swatch 89 (#ff9900) and waits for the clipboard to hold $1; the clipboard holds
# something else before, so an old copy cannot pass for a new one.
copy_89_as() {
  printf 'nothing' | xclip -selection clipboard
  wait_clipboard nothing
  click_at 424 124
  wait_clipboard "$1"
}

# Whether two menus are open: the context menu and a submenu.
submenu_shown() { [ "$(menus_open)" -ge 2 ]; }

start_app "$dir/Hexatint91"
note "by default a click copies #ff9900"
copy_89_as "#ff9900"

note "the menu's copy-format submenu (key c), its fifth item: rgb(...)"
open_menu
# A key that reaches the server before the menu holds the keyboard goes to the window below.
for attempt in 1 2 3 4 5; do
  xdotool key c
  wait_until 4 submenu_shown && break
done
submenu_shown || fail "key c opened no submenu"
xdotool key Down Down Down Down Return
wait_for 10 "the menus to close" no_menu_shown
copy_89_as "rgb(255, 153, 0)"

note "the choice is saved on close and read at the next start"
exit_through_menu 50
grep -qx 'FORMAT=rgb' "$dir/Hexatint91.ini" || { cat "$dir/Hexatint91.ini" >&2; fail "FORMAT=rgb not written"; }
start_app "$dir/Hexatint91"
copy_89_as "rgb(255, 153, 0)"
exit_through_menu 50
check_sanitizers
echo "PASS"

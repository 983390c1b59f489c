#!/usr/bin/env bash
# The window speaks the user's language: the open context menu looks different under a
# Japanese and an English (C) locale, and its access keys (s, x) work in both.
# Usage: language.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"

start_x
dir=$(install_app 1)
unset LANGUAGE LC_ALL LC_MESSAGES

# Starts the app under locale $1, opens the context menu and saves the screen around it as
# $2; then turns always-on-top off with key s and leaves through key x.
menu_under() {
  LANG=$1 start_app "$dir/Hexatint91"
  window_origin
  move_to 2 2
  sleep 0.3
  import -window root -crop 300x150+"$WX"+"$WY" +repage "$E2E_TMP/$2-closed.png" 2>/dev/null
  xdotool click 3
  sleep 0.7
  import -window root -crop 300x150+"$WX"+"$WY" +repage "$E2E_TMP/$2.png" 2>/dev/null
  differing "$E2E_TMP/$2-closed.png" "$E2E_TMP/$2.png" -gt 500 || fail "no menu opened under LANG=$1"
  xdotool key s
  sleep 0.3
  exit_through_menu 50
  grep -q '^FRON=0' "$dir/Hexatint91.ini" || fail "key s did not turn always-on-top off under LANG=$1"
  rm -f "$dir/Hexatint91.ini"
}

# Compares the number of pixels that differ between images $1 and $2 with "$3 $4".
differing() {
  local count
  count=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  count=${count%% *}
  note "$(basename "$1") vs $(basename "$2"): $count pixels differ"
  [ "${count%.*}" "$3" "$4" ]
}

note "the menu under LANG=ja_JP.UTF-8"
menu_under ja_JP.UTF-8 ja
note "the menu under LANG=C.UTF-8"
menu_under C.UTF-8 c
note "the two menus differ"
differing "$E2E_TMP/ja.png" "$E2E_TMP/c.png" -gt 200 || fail "the menu looks the same in both languages"
note "the same locale twice gives the same menu"
menu_under ja_JP.UTF-8 ja2
differing "$E2E_TMP/ja.png" "$E2E_TMP/ja2.png" -lt 50 || fail "the Japanese menu differs between runs"
[ -n "${E2E_KEEP:-}" ] && cp "$E2E_TMP"/*.png "$E2E_KEEP"/
check_sanitizers
echo "PASS"

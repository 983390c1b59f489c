#!/usr/bin/env bash
# The window speaks the user's language: under a Japanese and an English (C) locale the
# context menu's items have their own names, read over the accessibility bus as a screen
# reader hears them (where the bus can be had), and the open menu looks different on the
# screen; its access keys (s, x) work in both.
# Usage: language.sh PATH/TO/Hexatint91
APP=$1
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/a11y_lib.sh"
if [ -z "${A11Y_IN_SESSION:-}" ] && [ -z "$(a11y_missing)" ]; then
  a11y_session "$0" "$@"
fi
source "$HERE/e2e_lib.sh"

BUS=""
if [ -n "${A11Y_IN_SESSION:-}" ] && a11y_start; then
  BUS=1
else
  note "no accessibility bus here ($(a11y_missing)); the menus are compared on the screen only"
fi

start_x
dir=$(install_app 1)
unset LANGUAGE LC_ALL LC_MESSAGES

# The number of pixels that differ between images $1 and $2.
pixels_differing() {
  local count
  count=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  count=${count%% *}
  echo "${count%.*}"
}
menu_area() { import -window root -crop 300x150+"$WX"+"$WY" +repage "$1" 2>/dev/null; }
# Saves the menu area as $2; whether the menu is drawn over it: it differs from $1 (before
# the menu) by more than 500 pixels and looks the same twice in a row.
menu_drawn_over() {
  menu_area "$2" || return 1
  [ "$(pixels_differing "$1" "$2")" -gt 500 ] || return 1
  [ -f "$2.last.png" ] && [ "$(pixels_differing "$2.last.png" "$2")" = 0 ] && return 0
  cp "$2" "$2.last.png"
  return 1
}
# Whether the client reads the menu's items into $1.
menu_read_into() { reader menu >"$1" 2>/dev/null && grep -q . "$1"; }

# Starts the app under locale $1; reads its menu's item names into $2.names (over the bus),
# opens the context menu and saves the screen around it as $2.png; then turns
# always-on-top off with key s and leaves through key x.
menu_under() {
  LANG=$1 start_app "$dir/Hexatint91"
  move_to 2 2
  if [ -n "$BUS" ]; then
    wait_for 20 "the menu's items on the accessibility bus" menu_read_into "$E2E_TMP/$2.names"
  fi
  menu_area "$E2E_TMP/$2-closed.png"
  open_menu
  wait_for 10 "the menu drawn under LANG=$1" menu_drawn_over "$E2E_TMP/$2-closed.png" "$E2E_TMP/$2.png"
  key_to_menu s
  exit_through_menu 50
  grep -q '^FRON=0' "$dir/Hexatint91.ini" || fail "key s did not turn always-on-top off under LANG=$1"
  rm -f "$dir/Hexatint91.ini"
}

note "the menu under LANG=ja_JP.UTF-8"
menu_under ja_JP.UTF-8 ja
note "the menu under LANG=C.UTF-8"
menu_under C.UTF-8 c

if [ -n "$BUS" ]; then
  # The access keys' '&' is not part of a name; the Japanese names keep their "(S)".
  note "items under ja: $(paste -sd '|' "$E2E_TMP/ja.names")"
  note "items under C: $(paste -sd '|' "$E2E_TMP/c.names")"
  for name in '常に手前に表示(S)' 'コピー形式(C)' 'インフォメーション(I)...' '終了する(X)'; do
    grep -qxF "$name" "$E2E_TMP/ja.names" || fail "no item named '$name' under LANG=ja_JP.UTF-8"
  done
  for name in 'Always on top' 'Copy as' 'Information...' 'Exit'; do
    grep -qxF "$name" "$E2E_TMP/c.names" || fail "no item named '$name' under LANG=C.UTF-8"
  done
  note "the copy formats' examples are the same in both"
  grep -qxF 'rgb(255, 153, 0)' "$E2E_TMP/ja.names" && grep -qxF 'rgb(255, 153, 0)' "$E2E_TMP/c.names" ||
    fail "the rgb() example is not named as written"
fi

note "the menu under LANG=ja_JP.UTF-8 once more"
menu_under ja_JP.UTF-8 ja2
count=$(pixels_differing "$E2E_TMP/ja.png" "$E2E_TMP/c.png")
note "the two languages' open menus differ in $count pixels"
[ "$count" -gt 200 ] || fail "the menu looks the same in both languages"
count=$(pixels_differing "$E2E_TMP/ja.png" "$E2E_TMP/ja2.png")
note "the same language's menus differ in $count pixels"
[ "$count" -lt 50 ] || fail "the Japanese menu differs between runs"
[ -n "${E2E_KEEP:-}" ] && cp "$E2E_TMP"/*.png "$E2E_KEEP"/
check_sanitizers
echo "PASS"

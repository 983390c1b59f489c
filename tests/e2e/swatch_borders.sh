#!/usr/bin/env bash
# Every swatch's border is whole on the screen: no caption (glyphs or their background)
# reaches any of its four sides, silver at rest and at its end colour after a hover fade.
# Usage: swatch_borders.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"

# Swatches whose border sides are not all colour $2 in screenshot $1 (limited to swatch
# numbers $3..., all 91 when none are given). The palette is a hexagon of 11 columns of
# 40 x 20 swatches, 6 to 11 high, each column centred on the middle one.
broken_borders() {
  convert "$1" -depth 8 rgb:"$1.rgb"
  python3 - "$1.rgb" "$2" "${@:3}" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
want = bytes.fromhex(sys.argv[2])
only = {int(n) for n in sys.argv[3:]}
width = 448
def px(x, y):
    i = (y * width + x) * 3
    return data[i:i + 3]
n = 0
broken = []
for c, h in enumerate([6, 7, 8, 9, 10, 11, 10, 9, 8, 7, 6]):
    for k in range(h):
        n += 1
        if only and n not in only:
            continue
        l, t = 4 + 40 * c, 4 + (11 - h) * 10 + 20 * k
        r, b = l + 39, t + 19
        sides = {"top": [(x, t) for x in range(l, r + 1)], "bottom": [(x, b) for x in range(l, r + 1)],
                 "left": [(l, y) for y in range(t, b + 1)], "right": [(r, y) for y in range(t, b + 1)]}
        bad = [s for s, pts in sides.items() if any(px(x, y) != want for x, y in pts)]
        if bad:
            broken.append("%d(%s)" % (n, ",".join(bad)))
print(" ".join(broken))
PY
}

# Polls screenshots until the borders of swatches $2... are all colour $1, for at most $3 s.
wait_borders() {
  local colour=$1 limit=$2 deadline got
  shift 2
  deadline=$((SECONDS + limit))
  while :; do
    shot "$E2E_TMP/borders.png"
    got=$(broken_borders "$E2E_TMP/borders.png" "$colour" "$@")
    [ -z "$got" ] && return 0
    if [ $SECONDS -ge $deadline ]; then
      cp "$E2E_TMP/borders.png" /tmp/hexatint-broken-borders.png 2>/dev/null || true
      fail "borders not whole $colour: $got (screenshot in /tmp/hexatint-broken-borders.png)"
    fi
    sleep 0.2
  done
}

start_x
dir=$(install_app 1)
start_app "$dir/Hexatint91"
window_origin
move_to 2 2

note "all 91 swatches show four whole silver border sides at rest"
wait_borders c0c0c0 10

# Swatch n's centre, from the same layout as above.
centre() {
  local n=$1 c=0 h
  for h in 6 7 8 9 10 11 10 9 8 7 6; do
    if [ "$n" -le "$h" ]; then
      echo "$((4 + 40 * c + 20)) $((4 + (11 - h) * 10 + 20 * (n - 1) + 10))"
      return
    fi
    n=$((n - h))
    c=$((c + 1))
  done
}

note "hovered swatches end their fade with four whole border sides"
# The border moves only while the face does: white on most swatches, short of white on the
# faces one step from white (36) and one step from silver on the white swatch (46).
for hovered in "1 ffffff" "89 ffffff" "91 ffffff" "41 ffffff" "74 ffffff" "36 f4f4f4" "46 c2c2c2"; do
  set -- $hovered
  move_to $(centre $1)
  wait_borders $2 10 $1
done

note "after the pointer leaves, every border is silver again"
move_to 2 2
wait_borders c0c0c0 10

exit_through_menu 50
check_sanitizers
echo "swatch borders: all checks passed"

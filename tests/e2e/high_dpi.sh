#!/usr/bin/env bash
# The window at a device pixel ratio of 2 (QT_SCALE_FACTOR=2): twice the size, every surface
# pixel a crisp 2 x 2 block, the swatch captions drawn at the finer resolution, and the same
# logical picture and input as at ratio 1.
# Usage: high_dpi.sh PATH/TO/Hexatint91
APP=$1
source "$(dirname "$0")/e2e_lib.sh"

start_x
dir=$(install_app 1)

note "ratio 1: the reference picture"
start_app "$dir/Hexatint91"
window_origin
shot "$E2E_TMP/ratio1.png"
stop_app

note "ratio 2: the client area is 896 x 456"
QT_SCALE_FACTOR=2 start_app "$dir/Hexatint91"
window_origin
[ "$WIDTH" = 896 ] && [ "$HEIGHT" = 456 ] || fail "client area is ${WIDTH}x${HEIGHT}"
import -window root -crop 896x456+"$WX"+"$WY" +repage "$E2E_TMP/ratio2.png" 2>/dev/null
# One pixel of each 2 x 2 block, and that pixel spread back over its block.
convert "$E2E_TMP/ratio2.png" -sample 50% "$E2E_TMP/half.png"
convert "$E2E_TMP/half.png" -sample 200% "$E2E_TMP/blocks.png"

# Pixels that differ between two images within a region given in logical pixels.
differ() { # image1 image2 scale x y w h
  local s=$3 geometry
  geometry=$(($6 * s))x$(($7 * s))+$(($4 * s))+$(($5 * s))
  convert "$1" -crop "$geometry" +repage "$E2E_TMP/a.png"
  convert "$2" -crop "$geometry" +repage "$E2E_TMP/b.png"
  compare -metric AE "$E2E_TMP/a.png" "$E2E_TMP/b.png" null: 2>&1 || true
}

note "away from text every surface pixel is a solid 2 x 2 block showing the ratio-1 pixel"
# The four corners of the backdrop (gradient panels) and the band of a swatch above its caption.
for region in "0 0 40 50" "408 0 40 50" "0 175 40 53" "408 175 40 53" "205 105 38 3" "0 0 448 2"; do
  set -- $region
  n=$(differ "$E2E_TMP/ratio2.png" "$E2E_TMP/blocks.png" 2 "$@")
  [ "$n" = 0 ] || fail "region ($region): $n display pixels break their block"
  n=$(differ "$E2E_TMP/half.png" "$E2E_TMP/ratio1.png" 1 "$@")
  [ "$n" = 0 ] || fail "region ($region): $n pixels differ from ratio 1"
done

note "the caption of swatch 46 (#ffffff) is drawn finer than a surface pixel, without blending"
n=$(differ "$E2E_TMP/ratio2.png" "$E2E_TMP/blocks.png" 2 206 106 36 16)
[ "$n" -gt 20 ] || fail "the caption looks like scaled-up surface pixels ($n fine pixels)"
colours=$(convert "$E2E_TMP/ratio2.png" -crop 72x32+412+212 +repage -unique-colors txt:- |
  grep -o '#[0-9A-F]\{6\}' | sort | tr '\n' ' ')
[ "$colours" = "#808080 #FFFFFF " ] || fail "caption colours are: $colours"

note "input is in logical pixels: a click on swatch 89 copies #ff9900"
xdotool mousemove --sync $((WX + 2 * 424)) $((WY + 2 * 124)) click 1
wait_clipboard "#ff9900"

stop_app
check_sanitizers
echo "high dpi: all checks passed"

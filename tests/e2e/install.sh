#!/usr/bin/env bash
# `cmake --install` into a fresh prefix lays out a complete desktop application: the
# executable, a valid launcher, valid AppStream metadata and the hicolor icons at every size.
# Usage: install.sh BUILD_DIR
set -euo pipefail
BUILD=$1
ID=org.hexatint.Hexatint91
PREFIX=$(mktemp -d /tmp/hexatint-install.XXXXXX)
trap 'rm -rf "$PREFIX"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }

cmake --install "$BUILD" --prefix "$PREFIX" >/dev/null

note "the executable"
[ -x "$PREFIX/bin/Hexatint91" ] || fail "bin/Hexatint91 is missing"

note "the launcher validates and says what it should"
desktop=$PREFIX/share/applications/$ID.desktop
[ -f "$desktop" ] || fail "no $ID.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the launcher"
grep -qx 'Name=Hexatint91' "$desktop" || fail "Name is not Hexatint91"
grep -q '^Comment=' "$desktop" || fail "no English comment"
grep -q '^Comment\[ja\]=' "$desktop" || fail "no Japanese comment"
for category in Graphics Development WebDevelopment; do
  grep -q "^Categories=.*\b$category;" "$desktop" || fail "category $category missing"
done
grep -qx "Icon=$ID" "$desktop" || fail "the launcher names another icon"
grep -qx "Exec=\"$PREFIX/bin/Hexatint91\"" "$desktop" || fail "the launcher does not start the installed executable"

note "the AppStream metadata validates and refers to a screenshot"
metainfo=$PREFIX/share/metainfo/$ID.metainfo.xml
[ -f "$metainfo" ] || fail "no $ID.metainfo.xml"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metadata"
grep -q '<screenshot type="default">' "$metainfo" || fail "no screenshot"
grep -q "<launchable type=\"desktop-id\">$ID.desktop</launchable>" "$metainfo" || fail "no launchable"

note "hicolor icons at 16, 32, 48, 64 and 128 pixels, with transparency, and a scalable one"
for size in 16 32 48 64 128; do
  png=$PREFIX/share/icons/hicolor/${size}x${size}/apps/$ID.png
  [ -f "$png" ] || fail "no ${size}x${size} icon"
  got=$(identify -format '%wx%h %A' "$png")
  case $got in
    "${size}x${size} "[Bb]lend|"${size}x${size} "[Tt]rue) ;;
    *) fail "${size}x${size} icon is '$got' (size, alpha)" ;;
  esac
  # The corner lies outside the hexagon, the centre on a swatch.
  corner=$(convert "$png" -format '%[fx:int(255*p{0,0}.a)]' info:)
  centre=$(convert "$png" -format "%[fx:int(255*p{$((size / 2)),$((size / 2))}.a)]" info:)
  [ "$corner" = 0 ] && [ "$centre" = 255 ] || fail "${size}px icon: corner alpha $corner, centre $centre"
done
svg=$PREFIX/share/icons/hicolor/scalable/apps/$ID.svg
[ -f "$svg" ] || fail "no scalable icon"
[ "$(grep -c '<rect ' "$svg")" = 37 ] || fail "the scalable icon does not hold the 37 cells"
if command -v xmllint >/dev/null; then xmllint --noout "$svg" || fail "the SVG is not well-formed"; fi

echo "install: all checks passed"

#!/usr/bin/env bash
# The Debian package as a user gets it: built with tools/make-deb.sh, checked by lintian,
# installed with dpkg -i, run from /usr/bin by an unprivileged user with a fresh home in a
# private X server (the always-on-top choice made through the menu survives a restart and
# lives in ~/.config/Hexatint91/, nothing is written under /usr), then removed with dpkg -r
# leaving none of its files. Needs root and dpkg; skips (status 77) without them.
# Usage: debian_package.sh SOURCE_DIR
SRC=$1
source "$(dirname "$0")/e2e_lib.sh"
note() { echo "-- [${SECONDS} s] $*"; }
skip() { echo "SKIP: $*"; exit 77; }

[ "$(id -u)" = 0 ] || skip "installing a package needs root"
command -v dpkg >/dev/null && command -v dpkg-deb >/dev/null || skip "no dpkg on this machine"
command -v lintian >/dev/null || skip "no lintian (test.sh installs it)"

# One package installation at a time on this machine, whoever's tree runs it.
exec 9>/tmp/hexatint91-package-test.lock
flock -w 600 9 || fail "another package test held the lock for 10 minutes"
if dpkg-query -W -f='${Status}' hexatint91 2>/dev/null | grep -q 'install ok installed'; then
  skip "hexatint91 is installed already; this test would remove it"
fi

note "building the package"
deb=$("$SRC/tools/make-deb.sh" 2>"$E2E_TMP/make-deb.log" | tail -n1) || { tail -n 40 "$E2E_TMP/make-deb.log" >&2; fail "make-deb.sh failed"; }
[ -f "$deb" ] || fail "make-deb.sh printed no package ($deb)"
case $(basename "$deb") in hexatint91_*_amd64.deb|hexatint91_*_"$(dpkg --print-architecture)".deb) ;; *) fail "package named $(basename "$deb")" ;; esac
note "built $(basename "$deb")"

note "lintian at error level"
lintian --fail-on error --tag-display-limit 0 -I "$deb" >"$E2E_TMP/lintian.log" 2>&1 || { cat "$E2E_TMP/lintian.log" >&2; fail "lintian reports errors"; }
sed 's/^/   lintian: /' "$E2E_TMP/lintian.log"

note "what it holds and what it needs"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
for path in /usr/bin/Hexatint91 /usr/share/applications/org.hexatint.Hexatint91.desktop \
    /usr/share/metainfo/org.hexatint.Hexatint91.metainfo.xml \
    /usr/share/icons/hicolor/48x48/apps/org.hexatint.Hexatint91.png \
    /usr/share/icons/hicolor/scalable/apps/org.hexatint.Hexatint91.svg \
    /usr/share/doc/hexatint91/copyright /usr/share/doc/hexatint91/changelog.gz \
    /usr/share/man/man1/hexatint91.1.gz; do
  grep -qx "$path" <<<"$contents" || fail "the package lacks $path"
done
grep -v '^/usr/' <<<"$contents" | grep -v '^/$' && fail "files outside /usr"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libc6 qt6-qpa-plugins fonts-konatu; do
  grep -q "\b$dep\b" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
note "Depends: $depends"

note "dpkg -i"
tools_missing=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/(.*//; s/|.*//; s/ //g' |
  while read -r p; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"; done)
[ -z "$tools_missing" ] || "$SRC/tools/install-deps.sh" $tools_missing
installed=0
remove_package() { [ $installed = 1 ] && dpkg -r hexatint91 >/dev/null 2>&1; installed=0; }
trap 'remove_package; e2e_cleanup' EXIT
dpkg -i "$deb" >"$E2E_TMP/dpkg-i.log" 2>&1 || { cat "$E2E_TMP/dpkg-i.log" >&2; fail "dpkg -i failed"; }
installed=1
files=$(dpkg -L hexatint91)
grep -qx 'Exec="/usr/bin/Hexatint91"' /usr/share/applications/org.hexatint.Hexatint91.desktop ||
  fail "the launcher does not start /usr/bin/Hexatint91"
desktop-file-validate /usr/share/applications/org.hexatint.Hexatint91.desktop || fail "invalid launcher"
man -w hexatint91 >/dev/null 2>&1 || ! command -v man >/dev/null || fail "man does not find hexatint91(1)"
marker=$E2E_TMP/installed-marker
touch "$marker"

note "as nobody with a fresh home, in Xvfb"
chmod 755 "$E2E_TMP"
home=$E2E_TMP/home
runtime=$E2E_TMP/runtime
mkdir -m 700 "$home" "$runtime" && chown 65534:65534 "$home" "$runtime"
start_x
APP=/usr/bin/Hexatint91
launcher=$E2E_TMP/run-as-nobody
printf '#!/bin/sh\nexec setpriv --reuid=65534 --regid=65534 --clear-groups env -u XDG_CONFIG_HOME HOME=%q XDG_RUNTIME_DIR=%q /usr/bin/Hexatint91\n' "$home" "$runtime" >"$launcher"
chmod 755 "$launcher"

start_app "$launcher"
on_top "$WIN" || fail "a first start is not on top"
menu_key s
wait_on_top no
exit_through_menu
[ -s "$APP_LOG" ] && { cat "$APP_LOG" >&2; fail "the installed program wrote to stderr"; }

ini=$home/.config/Hexatint91/Hexatint91.ini
[ -f "$ini" ] || fail "no settings file in ~/.config/Hexatint91/ (home holds: $(cd "$home" && find . | tr '\n' ' '))"
[ "$(cat "$ini")" = "$(printf '[SET]\nFRON=0')" ] || fail "settings file holds: $(cat "$ini")"
[ "$(stat -c %U "$ini")" = nobody ] || fail "the settings file belongs to $(stat -c %U "$ini")"
for folder in "$home/.config" "$home/.config/Hexatint91"; do
  [ "$(stat -c %a "$folder")" = 700 ] || fail "$folder has mode $(stat -c %a "$folder")"
done

start_app "$launcher"
on_top "$WIN" && fail "the second start is on top again: the choice was lost"
exit_through_menu
written=$(find /usr -newer "$marker" \( -iname '*hexatint*' -o -name '*.ini' \) 2>/dev/null || true)
[ -z "$written" ] || fail "written under /usr: $written"

note "dpkg -r"
dpkg -r hexatint91 >"$E2E_TMP/dpkg-r.log" 2>&1 || { cat "$E2E_TMP/dpkg-r.log" >&2; fail "dpkg -r failed"; }
installed=0
left=$(while read -r f; do if [ -f "$f" ] || [ -L "$f" ]; then echo "$f"; fi; done <<<"$files")
[ -z "$left" ] || fail "left behind by dpkg -r: $left"
[ ! -e /usr/share/doc/hexatint91 ] || fail "/usr/share/doc/hexatint91 was left behind"
dpkg-query -W -f='${Status}' hexatint91 2>/dev/null | grep -q 'ok installed' && fail "dpkg still lists the package as installed"
echo "debian package: all checks passed"

#!/usr/bin/env bash
# The catalog check the build runs before compiling a catalog: it passes the project's
# catalogs and refuses, with the catalog's path and line, one that is malformed or whose
# finished translation drops its source's access key or an argument. Unfinished texts are
# not checked (they are shown in the source language).
# Usage: checker_cases.sh PATH/TO/check-translations.py PATH/TO/translations
set -euo pipefail
CHECKER=$1
CATALOGS=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
bad() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

python3 "$CHECKER" "$CATALOGS"/*.ts || bad "the project's catalogs are refused"

# Writes a catalog with one message (source $2, translation element $3) to $1.
catalog() {
  cat >"$1" <<XML
<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>TMainForm1</name>
    <message>
        <source>$2</source>
        $3
    </message>
</context>
</TS>
XML
}

# name | source | translation element | expected: ok, or the message's start after "FILE:LINE: "
while IFS='|' read -r name source translation expected; do
  file=$tmp/$name.ts
  catalog "$file" "$source" "$translation"
  if output=$(python3 "$CHECKER" "$file" 2>&1); then
    [ "$expected" = ok ] || bad "$name: accepted, expected '$expected'"
  else
    [ "$expected" != ok ] || bad "$name: refused: $output"
    case "$output" in
      "$file:7: $expected"*) ;;
      *) [ "$expected" = ok ] || bad "$name: said '$output', expected '$file:7: $expected…'" ;;
    esac
  fi
done <<'CASES'
kept|終了する(&amp;X)|<translation>E&amp;xit</translation>|ok
kept in the other case|常に手前に表示(&amp;S)|<translation>Alway&amp;S on top</translation>|ok
unfinished without a key|終了する(&amp;X)|<translation type="unfinished">Exit</translation>|ok
access key dropped|終了する(&amp;X)|<translation>Exit</translation>|"Exit" must keep the access key "x"
access key moved to another letter|終了する(&amp;X)|<translation>&amp;Exit</translation>|"&Exit" must keep the access key "x"
literal ampersand is no key|終了する(&amp;X)|<translation>E&amp;&amp;xit</translation>|"E&&xit" must keep the access key "x"
argument dropped|%1 に書き込めません|<translation>Cannot write</translation>|"Cannot write" must keep the arguments ['%1']
CASES

# A malformed catalog is refused with the line the parser stopped at.
printf '<?xml version="1.0"?>\n<TS version="2.1">\n<context>\n</TS>\n' >"$tmp/malformed.ts"
if output=$(python3 "$CHECKER" "$tmp/malformed.ts" 2>&1); then
  bad "a malformed catalog is accepted"
else
  case "$output" in "$tmp/malformed.ts:4: malformed catalog"*) ;; *) bad "malformed: said '$output'" ;; esac
fi
printf '<?xml version="1.0"?>\n<html/>\n' >"$tmp/other.ts"
python3 "$CHECKER" "$tmp/other.ts" 2>/dev/null && bad "an XML file that is not a catalog is accepted"

[ "$failures" = 0 ] || exit 1
echo "PASS"

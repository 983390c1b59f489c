#!/usr/bin/env bash
# Refreshes the translation catalogs (translations/*.ts) from the program's texts: the
# captions and hints of every form description (app/*.form), looked up under the form's
# class, and every Tr("Context", "text") call in framework/ and app/. New texts arrive
# unfinished for a translator (Qt Linguist, or by hand); texts no longer used are dropped.
# Colour codes in any of their forms ("#rrggbb", "#rgb", "rrggbb", "RGB(r,g,b)", "rgb(r, g, b)"),
# menu separators and the program's name are not texts to translate and are left out.
#
# Usage: tools/update-translations.sh [--check | --add LANG]
#   --check:    change nothing; exit 1 and show the difference when a catalog is not current.
#   --add LANG: start the catalog translations/hexatint91_LANG.ts, every text unfinished.
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate=$(command -v lupdate6 || true)
[ -n "$lupdate" ] || lupdate=/usr/lib/qt6/bin/lupdate
[ -x "$lupdate" ] || { echo "lupdate not found: install qt6-l10n-tools" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One QT_TRANSLATE_NOOP line per text, which lupdate reads like any C++ source.
python3 - "$work/texts.cpp" <<'PY'
import glob, re, sys

skip = re.compile(r"^(-|#?[0-9a-fA-F]{6}|#[0-9a-fA-F]{3}|(RGB|rgb)\(\d+, ?\d+, ?\d+\)|Hexatint91)$")
texts = []

def add(context, text):
    if text and not skip.match(text) and (context, text) not in texts:
        texts.append((context, text))

for form in sorted(glob.glob("app/*.form")):
    context = None
    for line in open(form, encoding="utf-8"):
        m = re.match(r"\s*object\s+\w+\s*:\s*(\w+)", line)
        if m and context is None:
            context = m.group(1)
        m = re.match(r"\s*(Caption|Hint)\s*=\s*'((?:[^']|'')*)'\s*$", line)
        if m and context:
            add(context, m.group(2).replace("''", "'"))

call = re.compile(r'\bTr\(\s*"([^"]+)"\s*,\s*"((?:[^"\\]|\\.)*)"')
for source in sorted(glob.glob("framework/**/*.cpp", recursive=True) + glob.glob("app/**/*.cpp", recursive=True)):
    for m in call.finditer(open(source, encoding="utf-8").read()):
        add(m.group(1), m.group(2))

def quote(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'

with open(sys.argv[1], "w", encoding="utf-8") as out:
    for context, text in texts:
        out.write(f"QT_TRANSLATE_NOOP({quote(context)}, {quote(text)});\n")
PY

catalogs=(translations/*.ts)
if [ "${1:-}" = --check ]; then
  mkdir "$work/ts"
  cp "${catalogs[@]}" "$work/ts/"
  "$lupdate" -silent -locations none -no-obsolete "$work/texts.cpp" -ts "$work"/ts/*.ts
  status=0
  for catalog in "${catalogs[@]}"; do
    diff -u "$catalog" "$work/ts/$(basename "$catalog")" || status=1
  done
  [ $status -eq 0 ] || echo "Catalogs are not current: run tools/update-translations.sh" >&2
  exit $status
fi
if [ "${1:-}" = --add ]; then
  [[ "${2:-}" =~ ^[a-z]{2,3}(_[A-Z]{2})?$ ]] || { echo "Usage: $0 --add LANG (e.g. de, pt_BR)" >&2; exit 2; }
  catalog=translations/hexatint91_$2.ts
  [ ! -e "$catalog" ] || { echo "$catalog exists already" >&2; exit 1; }
  exec "$lupdate" -locations none -source-language ja -target-language "$2" "$work/texts.cpp" -ts "$catalog"
fi
"$lupdate" -locations none -no-obsolete "$work/texts.cpp" -ts "${catalogs[@]}"

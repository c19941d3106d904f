#!/usr/bin/env bash
# The exchange files through the standard tools: msgfmt (its format
# checks included) and xmllint accept what ulk-cli writes, translate-toolkit
# finds every unit (pocount, xliff2po, po2xliff), and a file changed by
# translate-toolkit's storage classes, as a translator's tool would change
# it, comes back into the project with its fuzzy units and notes, which the
# next export and the converters keep.
#   tool_round_trip.sh ULK_CLI DEMO_BUILD_DIR DEMO_SOURCE_DIR SCRIPT_DIR
set -euo pipefail
cli=$1
demo=$2
source=$3
scripts=$4
python=/usr/bin/python3
work=$(mktemp -d /tmp/ulk-tools.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$demo/demo32.dll" "$demo/demo64.dll" "$source/demo.ulk" "$work/"
cd "$work"
german="Alemán (Alemania)"

fail() {
  echo "FALLO: $*" >&2
  exit 1
}

entries=$("$cli" list demo.ulk demo32.dll | tail -n +2 | wc -l)
"$cli" export demo.ulk demo32.dll "$german" de.po
"$cli" export demo.ulk demo64.dll "$german" de.xlf

# The standard checks, silent. The originals with printf conversions are
# marked c-format, so that msgfmt compares their translations.
msgfmt_check() {
  out=$(msgfmt --check -o /dev/null "$1" 2>&1) || fail "msgfmt $1: $out"
  [ -z "$out" ] || fail "msgfmt $1 avisa: $out"
}
msgfmt_check de.po
grep -q '^#, c-format$' de.po || fail "de.po no marca ningún c-format"
xmllint --noout de.xlf || fail "xmllint"

total() {
  # The "Total Message" column of pocount's CSV line.
  pocount --csv "$1" | tail -n 1 | awk -F, '{ print $9 + 0 }'
}
[ "$(total de.po)" = "$entries" ] || fail "pocount de.po: $(total de.po) de $entries"
[ "$(total de.xlf)" = "$entries" ] || fail "pocount de.xlf: $(total de.xlf) de $entries"
xliff2po de.xlf converted.po >/dev/null
[ "$(total converted.po)" = "$entries" ] || fail "xliff2po: $(total converted.po) de $entries"
po2xliff de.po converted.xlf >/dev/null
xmllint --noout converted.xlf || fail "xmllint converted.xlf"
[ "$(total converted.xlf)" = "$entries" ] || fail "po2xliff: $(total converted.xlf) de $entries"

# A translator's tool changes the targets, leaves some fuzzy and adds
# notes; the project takes them back, the fuzzy ones as to be reviewed.
$python "$scripts/retarget.py" de.po expected-po.json >/dev/null
$python "$scripts/retarget.py" de.xlf expected-xlf.json >/dev/null
# The tool kept the c-format marks, and msgfmt checks the new targets.
grep -q '^#, .*c-format' de.po || fail "retarget.py perdió los c-format"
msgfmt_check de.po
"$cli" import demo.ulk demo32.dll "$german" de.po
"$cli" import demo.ulk demo64.dll "$german" de.xlf

# What came back, as the project writes it again (each module in the
# other format) and as translate-toolkit reads that: the targets, which
# are fuzzy, and the translator's notes.
"$cli" export demo.ulk demo32.dll "$german" back32.xlf
"$cli" export demo.ulk demo64.dll "$german" back64.po
msgfmt_check back64.po
grep -q '^#, fuzzy, c-format$' back64.po || fail "back64.po sin «fuzzy, c-format»"
xmllint --noout back32.xlf || fail "xmllint back32.xlf"
xliff2po back32.xlf converted32.po >/dev/null
po2xliff back64.po converted64.xlf >/dev/null
$python - <<'PY'
import json
from translate.storage import factory

def stored(text):
    return text.replace("\n", "\\n").replace("\r", "\\r").replace("\t", "\\t")

def key_of(unit, path):
    return unit.getcontext() if path.endswith(".po") else unit.xmlelement.get("id")

def units(path):
    return [u for u in factory.getobject(path).units if not u.isheader()]

for exported, expected, converted in (("back32.xlf", "expected-po.json", "converted32.po"),
                                      ("back64.po", "expected-xlf.json", "converted64.xlf")):
    wanted = json.load(open(expected, encoding="utf-8"))
    assert wanted, expected
    found = {key_of(u, exported): u for u in units(exported)}
    for key, want in wanted.items():
        unit = found.get(key)
        assert unit is not None, (exported, key)
        assert stored(unit.target) == want["text"], (exported, key, unit.target, want["text"])
        assert unit.isfuzzy() == want["review"], (exported, key, "fuzzy", unit.isfuzzy())
        note = stored(unit.getnotes("translator"))
        assert note == (want["note"] or ""), (exported, key, note, want["note"])
    reviews = sum(1 for want in wanted.values() if want["review"])
    notes = sum(1 for want in wanted.values() if want["note"])
    assert reviews and notes, expected
    # The other format's converter keeps both.
    other = units(converted)
    assert sum(1 for u in other if u.isfuzzy()) == reviews, (converted, "fuzzy")
    assert sum(1 for u in other if u.getnotes("translator")) == notes, (converted, "notas")
    print(exported, len(wanted), "unidades,", reviews, "por revisar,", notes, "notas comprobadas")
PY
echo "1 passed, 0 failed"

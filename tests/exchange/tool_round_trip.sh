#!/usr/bin/env bash
# The exchange files through the standard tools: msgfmt and xmllint accept
# what ulk-cli writes, translate-toolkit finds every unit (pocount,
# xliff2po, po2xliff), and a file changed by translate-toolkit's storage
# classes, as a translator's tool would change it, comes back into the
# project.
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

# The standard checks, silent.
out=$(msgfmt --check -o /dev/null de.po 2>&1) || fail "msgfmt: $out"
[ -z "$out" ] || fail "msgfmt avisa: $out"
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

# A translator's tool changes the targets; the project takes them back.
$python "$scripts/retarget.py" de.po expected-po.json >/dev/null
$python "$scripts/retarget.py" de.xlf expected-xlf.json >/dev/null
"$cli" import demo.ulk demo32.dll "$german" de.po
"$cli" import demo.ulk demo64.dll "$german" de.xlf
"$cli" list demo.ulk demo32.dll --json > list32.json
"$cli" list demo.ulk demo64.dll --json > list64.json
$python - "$german" <<'PY'
import json, sys
german = sys.argv[1]
for listing, expected in (("list32.json", "expected-po.json"), ("list64.json", "expected-xlf.json")):
    rows = {row["key"]: row["texts"][german] for row in json.load(open(listing, encoding="utf-8"))}
    wanted = json.load(open(expected, encoding="utf-8"))
    assert wanted, expected
    for key, text in wanted.items():
        assert rows.get(key) == text, (listing, key, rows.get(key), text)
    fuzzy = [key for key in rows if key not in wanted and rows[key] and rows[key].startswith("«")]
    assert not fuzzy, ("fuzzy units were taken", fuzzy)
    print(listing, len(wanted), "traducciones comprobadas")
PY
echo "1 passed, 0 failed"

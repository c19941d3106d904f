"""What a translator's tool does to an exchange file: every unit gets a
target through translate-toolkit's storage classes, every fourth is left
fuzzy. Writes the targets that must come back (key -> text) as JSON.

    retarget.py FILE EXPECTED.json
"""
import json
import sys

from translate.storage import factory


def key_of(unit, path):
    if path.endswith(".po"):
        return unit.getcontext()
    return unit.xmlelement.get("id")


def main():
    path, expected_path = sys.argv[1], sys.argv[2]
    store = factory.getobject(path)
    expected = {}
    count = 0
    for unit in store.units:
        if unit.isheader():
            continue
        target = "«" + unit.source + "»"
        unit.target = target
        fuzzy = count % 4 == 3
        unit.markfuzzy(fuzzy)
        if not fuzzy:
            stored = target.replace("\n", "\\n").replace("\r", "\\r").replace("\t", "\\t")
            expected[key_of(unit, path)] = stored
        count += 1
    store.save()
    with open(expected_path, "w", encoding="utf-8") as out:
        json.dump(expected, out, ensure_ascii=False)
    print(count)


main()

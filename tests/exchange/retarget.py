"""What a translator's tool does to an exchange file: every unit gets a
target through translate-toolkit's storage classes, every fourth is left
fuzzy, every fifth gets a translator's note. Writes what must come back
(key -> stored text, whether it is to be reviewed, stored note) as JSON.

    retarget.py FILE EXPECTED.json
"""
import json
import sys

from translate.storage import factory


def key_of(unit, path):
    if path.endswith(".po"):
        return unit.getcontext()
    return unit.xmlelement.get("id")


def stored(text):
    return text.replace("\n", "\\n").replace("\r", "\\r").replace("\t", "\\t")


def main():
    path, expected_path = sys.argv[1], sys.argv[2]
    store = factory.getobject(path)
    expected = {}
    count = 0
    for unit in store.units:
        if unit.isheader():
            continue
        # A translator keeps the line break that ends a message, as
        # msgfmt --check demands.
        body = unit.source.rstrip("\r\n")
        target = "«" + body + "»" + unit.source[len(body):]
        unit.target = target
        fuzzy = count % 4 == 1
        unit.markfuzzy(fuzzy)
        note = None
        if count % 5 == 2:
            note = 'Nota %d: "¿así?"\n  Ελληνικά, 日本語\t\\ fin' % count
            unit.addnote(note, origin="translator")
        expected[key_of(unit, path)] = {
            "text": stored(target),
            "review": fuzzy,
            "note": stored(note) if note else None,
        }
        count += 1
    store.save()
    with open(expected_path, "w", encoding="utf-8") as out:
        json.dump(expected, out, ensure_ascii=False)
    print(count)


main()

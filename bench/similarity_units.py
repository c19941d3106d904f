#!/usr/bin/env python3
"""Which unit ranks interface texts better for the similarity score:
characters or words. For every text of two or more words in the example's
and the test modules' sources, one word made plural (a small change) is set
against the same word replaced by another word of those texts (a real
change); a good unit scores the small change higher.
Run from the repository's root: python3 bench/similarity_units.py"""
import random
import re


def levenshtein(a, b):
    previous = list(range(len(b) + 1))
    for i, x in enumerate(a, 1):
        current = [i]
        for j, y in enumerate(b, 1):
            current.append(min(previous[j - 1] + (x != y), previous[j] + 1, current[j - 1] + 1))
        previous = current
    return previous[-1]


def score(a, b, unit):
    a, b = a.lower(), b.lower()
    if unit == "words":
        a, b = a.split(), b.split()
    longer = max(len(a), len(b))
    return 100 * (longer - levenshtein(a, b)) // longer


texts = set()
for path in ["examples/demo/demo.rc", "tests/fixtures/sample.rc", "tests/fixtures/controls.rc"]:
    source = open(path, encoding="utf-8", errors="replace").read()
    for match in re.finditer(r'"([^"\\]{3,60})"', source):
        text = match.group(1).replace("&", "").strip()
        if len(text.split()) >= 2 and not text.startswith("MS ") and not re.match(r"^[\d., ]+$", text):
            texts.add(text)
texts = sorted(texts)
words = sorted({w for t in texts for w in t.split()})
random.seed(4)
results = {"characters": [0, 0, 0], "words": [0, 0, 0]}
for text in texts:
    parts = text.split()
    i = random.randrange(len(parts))
    small = " ".join(parts[:i] + [parts[i] + "s"] + parts[i + 1:])
    other = " ".join(parts[:i] + [random.choice([w for w in words if w != parts[i]])] + parts[i + 1:])
    for unit, counts in results.items():
        a, b = score(text, small, unit), score(text, other, unit)
        counts[0 if a > b else 1 if a == b else 2] += 1
print(f"{len(texts)} texts")
for unit, (right, tie, wrong) in results.items():
    print(f"{unit:10}  right order {right:3}  tie {tie:3}  wrong {wrong:3}")

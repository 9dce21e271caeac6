#!/usr/bin/env python3
"""Compares two generated reading tables on a word list, and each with ICU.

    compare_tables.py OLD_TABLES.cpp NEW_TABLES.cpp WORDLIST... [--icu PATH]

OLD and NEW are versions of src/wordcheck/hz_spell_tables.cpp (for example
`git show HEAD~1:src/wordcheck/hz_spell_tables.cpp > /tmp/old.cpp`). A word
list has one word per line in UTF-8; text after a "/" is ignored, so the
lexicon files of Debian's friso-dict serve as they are. Words of hanzi that
both tables read are kept. --icu names the han_latin program built from
han_latin.cpp; without it, only the two tables are compared.

Prints the share of words whose reading changed, the share agreeing with ICU
before and after, and the characters behind the most changes.
"""

import argparse
import collections
import re
import subprocess
import unicodedata


def load_table(path):
    text = open(path, encoding="ascii").read()
    music_part = text[text.index("PyMusicCode[PyMusicCodeCount + 1] = {"):
                      text.index("PyCodeIndex[PyCodeIndexSize] = {")]
    music = re.findall(r'"([a-z]*)"', music_part)
    body = text[text.index("PyCodeIndex[PyCodeIndexSize] = {"):]
    body = re.sub(r"//[^\n]*", "", body[body.index("{") + 1:body.index("};")])
    index = [int(v) for v in re.findall(r"\d+", body)]

    def reading(ch):
        try:
            raw = ch.encode("gbk")
        except UnicodeEncodeError:
            return None
        if len(raw) != 2:
            return None
        return music[index[(raw[0] - 0x81) * 191 + (raw[1] - 0x40)]] or None
    return reading


def toneless(syllable):
    syllable = unicodedata.normalize("NFD", syllable.lower()).replace("u\u0308", "v")
    return "".join(c for c in syllable if not unicodedata.combining(c))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("wordlists", nargs="+")
    parser.add_argument("--icu", help="the han_latin program")
    args = parser.parse_args()
    old, new = load_table(args.old), load_table(args.new)

    words, seen = [], set()
    for path in args.wordlists:
        for line in open(path, encoding="utf-8"):
            word = line.strip().split("/")[0]
            if (word and word not in seen and all("\u4e00" <= c <= "\u9fff" for c in word)
                    and all(old(c) and new(c) for c in word)):
                seen.add(word)
                words.append(word)
    icu = None
    if args.icu:
        out = subprocess.run([args.icu], input="\n".join(words) + "\n", capture_output=True,
                             text=True, check=True).stdout.split("\n")
        icu = [[toneless(s) for s in line.split()] for line in out[:len(words)]]

    changed, agree_old, agree_new = 0, 0, 0
    by_char = collections.Counter()
    for i, word in enumerate(words):
        before, after = [old(c) for c in word], [new(c) for c in word]
        if before != after:
            changed += 1
            by_char.update(c for c, b, a in zip(word, before, after) if b != a)
        if icu:
            agree_old += before == icu[i]
            agree_new += after == icu[i]
    n = len(words)
    print(f"words: {n}; reading changed: {changed} ({100 * changed / n:.2f}%)")
    if icu:
        print(f"agreeing with ICU: before {agree_old} ({100 * agree_old / n:.2f}%), "
              f"after {agree_new} ({100 * agree_new / n:.2f}%)")
    print("changes by character: " + ", ".join(
        f"{c} {old(c)}->{new(c)} {k}" for c, k in by_char.most_common(30)))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Builds the reading tables of the hanzi-to-pinyin converter.

Writes src/wordcheck/hz_spell_tables.h and src/wordcheck/hz_spell_tables.cpp:

  PyMusicCode  the distinct readings, sorted, entry 0 being the empty reading
  PyCodeIndex  one entry per GBK code (lead 0x81-0xFE, trail 0x40-0xFE), the
               number of its reading in PyMusicCode, 0 for none

Readings come from the Unihan database, tone marks stripped and u-umlaut
written "v", mapped onto GBK codes through Python's 'gbk' codec. Each
character takes its most used reading (see choose_reading): the most frequent
one of kHanyuPinlu where that field is present, else the reading of the
mainland standard dictionary (kTGHZ2013), else the first of kMandarin. A few
characters get a fixed reading on top of that (OVERRIDES), and the handful of
GBK characters Unihan has no Mandarin reading for get one by hand
(HAND_READINGS). Compatibility ideographs without a reading of their own take
the reading of the character they normalise to.

The Unihan files come with Debian's unicode-data package
(/usr/share/unicode/Unihan_Readings.txt.bz2); the Unicode Consortium's
Unihan.zip works as well (--unihan PATH). The build itself needs neither: the
generated source is kept in the repository. Run this script again only to
change the tables:

    tools/pinyin-tables/make_pinyin_tables.py [--install] [--unihan PATH]

--install installs unicode-data (scripts/install-deps --tables) when it is missing.
"""

import argparse
import bz2
import io
import os
import re
import subprocess
import sys
import unicodedata
import zipfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
OUT_DIR = os.path.join(ROOT, "src", "wordcheck")

UNIHAN_CANDIDATES = [
    "/usr/share/unicode/Unihan_Readings.txt",
    "/usr/share/unicode/Unihan_Readings.txt.bz2",
    "/usr/share/unicode/Unihan.zip",
    "/usr/share/unicode-data/Unihan.zip",
]

LEAD_FIRST, LEAD_LAST = 0x81, 0xFE
TRAIL_FIRST, TRAIL_LAST = 0x40, 0xFE
ROW = TRAIL_LAST - TRAIL_FIRST + 1           # 191
INDEX_SIZE = (LEAD_LAST - LEAD_FIRST + 1) * ROW  # 24066

# Readings the program fixes (GBK bytes -> reading). The first five are bound
# readings of the converter. The others are characters whose most frequent
# reading in running text is that of a particle or of one bound word (地 in
# 慢慢地, 似 in 似的, 佛 in 仿佛, 卜 in 萝卜, 茄 in 雪茄, 呵 and 呐 as
# interjections, 拓 in 拓片); they take the reading they have in most words.
OVERRIDES = {
    b"\xD0\xD0": "hang",   # 行
    b"\xB3\xA4": "zhang",  # 长
    b"\xD6\xD0": "zhong",  # 中
    b"\xD6\xD8": "zhong",  # 重
    b"\xB0\xA1": "a",      # 啊
    b"\xB5\xD8": "di",     # 地
    b"\xCB\xC6": "si",     # 似
    b"\xB7\xF0": "fo",     # 佛
    b"\xB2\xB7": "bu",     # 卜
    b"\xC7\xD1": "qie",    # 茄
    b"\xBA\xC7": "he",     # 呵
    b"\xC4\xC5": "na",     # 呐
    b"\xCD\xD8": "tuo",    # 拓
}

# GBK characters without a Mandarin reading in Unihan: mostly the one-character
# unit names (tens of grams, hundreds of grams, gallon, the watt/gram family).
HAND_READINGS = {
    "\u5159": "shike",   # 兙 decagram
    "\u5161": "baike",   # 兡 hectogram
    "\u55E7": "jialun",  # 嗧 gallon
    "\u685B": "kase",    # 桛 skein (a Japanese-made character)
    "\u70EA": "guan",    # 烪
    "\u74E7": "shiwa",   # 瓧
    "\u74F0": "fenwa",   # 瓰
    "\u74F1": "maowa",   # 瓱
    "\u74FC": "liwa",    # 瓼
    "\u7505": "liwa",    # 甅
}


def has_reading_rows(lead, trail):
    """True for the GBK codes whose characters are hanzi and get a reading."""
    if trail == 0x7F:
        return False
    if 0x81 <= lead <= 0xA0 or 0xB0 <= lead <= 0xF7:
        return True
    if 0xAA <= lead <= 0xAF or 0xF8 <= lead <= 0xFD:
        return trail <= 0xA0
    return False


def find_unihan(explicit):
    if explicit:
        if not os.path.exists(explicit):
            sys.exit(f"make_pinyin_tables: {explicit} does not exist")
        return explicit
    for path in UNIHAN_CANDIDATES:
        if os.path.exists(path):
            return path
    return None


def install_unicode_data():
    # Packages come through the project's one install script.
    cmd = [os.path.join(ROOT, "scripts", "install-deps"), "--tables"]
    print("make_pinyin_tables: " + " ".join(cmd), file=sys.stderr)
    subprocess.run(cmd, check=True)


def open_readings(path):
    if path.endswith(".zip"):
        archive = zipfile.ZipFile(path)
        return io.TextIOWrapper(archive.open("Unihan_Readings.txt"), encoding="utf-8")
    if path.endswith(".bz2"):
        return bz2.open(path, "rt", encoding="utf-8")
    return open(path, encoding="utf-8")


def toneless(reading):
    """'zhōng' -> 'zhong', 'lǜ' -> 'lv', 'nǚ' -> 'nv'."""
    # ü may carry a tone mark as well (ǚ): take the diaeresis apart first.
    reading = unicodedata.normalize("NFD", reading.lower())
    reading = reading.replace("u\u0308", "v")
    reading = "".join(c for c in reading if not unicodedata.combining(c))
    if not re.fullmatch(r"[a-z]{1,6}", reading):
        raise ValueError(f"unexpected reading {reading!r}")
    return reading


def load_readings(path):
    """Unihan's reading fields of each character: code -> {field: value}."""
    fields = {}
    with open_readings(path) as f:
        for line in f:
            if not line.startswith("U+"):
                continue
            parts = line.rstrip("\n").split("\t")
            if len(parts) != 3 or parts[1] not in ("kHanyuPinlu", "kTGHZ2013", "kMandarin"):
                continue
            fields.setdefault(int(parts[0][2:], 16), {})[parts[1]] = parts[2]
    return fields


def choose_reading(fields):
    """The most used reading of one character, or None when Unihan has none.

    kHanyuPinlu counts each reading in a corpus of modern text ("dì(4976)");
    the counts of readings that differ only in tone are added up, the erhua
    "r" (a suffix, not a syllable) is passed over, and the highest count wins
    (the first listed on a tie). Without it, the mainland standard dictionary
    (kTGHZ2013, "072.060:dì") decides: its one reading, or, as it lists several
    in alphabetical order, the kMandarin reading when that is one of them and
    its first otherwise. Last comes the first reading of kMandarin.
    """
    if "kHanyuPinlu" in fields:
        counts = {}
        for item in fields["kHanyuPinlu"].split():
            match = re.fullmatch(r"(.+)\((\d+)\)", item)
            reading = toneless(match.group(1))
            if reading != "r":
                counts[reading] = counts.get(reading, 0) + int(match.group(2))
        if counts:
            return max(counts, key=lambda r: counts[r])  # first of the highest
    mandarin = toneless(fields["kMandarin"].split()[0]) if "kMandarin" in fields else None
    if "kTGHZ2013" in fields:
        standard = []
        for item in fields["kTGHZ2013"].split():
            reading = toneless(item.split(":")[1])
            if reading not in standard:
                standard.append(reading)
        return mandarin if len(standard) > 1 and mandarin in standard else standard[0]
    return mandarin


def build(fields):
    by_code = {}  # index -> reading
    unmapped = []
    for lead in range(LEAD_FIRST, LEAD_LAST + 1):
        for trail in range(TRAIL_FIRST, TRAIL_LAST + 1):
            if not has_reading_rows(lead, trail):
                continue
            raw = bytes([lead, trail])
            try:
                ch = raw.decode("gbk")
            except UnicodeDecodeError:
                continue  # a code GBK leaves unassigned
            reading = choose_reading(fields.get(ord(ch), {}))
            if reading is None:
                reading = choose_reading(fields.get(ord(unicodedata.normalize("NFC", ch)[0]), {}))
            if reading is None:
                reading = HAND_READINGS.get(ch)
            if raw in OVERRIDES:
                reading = OVERRIDES[raw]
            if reading is None:
                unmapped.append(f"{lead:02X}{trail:02X} U+{ord(ch):04X}")
                continue
            by_code[(lead - LEAD_FIRST) * ROW + (trail - TRAIL_FIRST)] = reading
    if unmapped:
        sys.exit("make_pinyin_tables: no reading for " + ", ".join(unmapped)
                 + "; add them to HAND_READINGS")
    for raw, reading in OVERRIDES.items():
        assert by_code[(raw[0] - LEAD_FIRST) * ROW + (raw[1] - TRAIL_FIRST)] == reading
    syllables = sorted(set(by_code.values()))
    number = {s: i + 1 for i, s in enumerate(syllables)}
    index = [0] * INDEX_SIZE
    for pos, reading in by_code.items():
        index[pos] = number[reading]
    return syllables, index


HEADER = """\
// Reading tables of the hanzi-to-pinyin converter.
// Generated by tools/pinyin-tables/make_pinyin_tables.py from the Unihan
// readings; do not edit by hand, run the script instead.
#pragma once

#include <cstdint>
#include <string_view>

namespace orlu {{

// Number of readings in PyMusicCode (entries 1 to PyMusicCodeCount).
inline constexpr int PyMusicCodeCount = {count};

// Number of GBK codes PyCodeIndex covers: lead 0x81-0xFE times trail 0x40-0xFE.
inline constexpr int PyCodeIndexSize = {size};

// Reading number of each GBK character, at (lead - 0x81) * 191 + (trail - 0x40);
// 0 means no reading.
extern const std::uint16_t PyCodeIndex[PyCodeIndexSize];

// The readings in alphabetical order, entry 1 being "a"; entry 0 is the empty
// reading, so PyMusicCode[PyCodeIndex[i]] needs no test for 0.
extern const std::string_view PyMusicCode[PyMusicCodeCount + 1];

}}  // namespace orlu
"""


def write_sources(syllables, index):
    with open(os.path.join(OUT_DIR, "hz_spell_tables.h"), "w", encoding="ascii", newline="\n") as f:
        f.write(HEADER.format(count=len(syllables), size=INDEX_SIZE))

    out = io.StringIO()
    out.write("// Generated by tools/pinyin-tables/make_pinyin_tables.py; do not edit by hand.\n")
    out.write('#include "wordcheck/hz_spell_tables.h"\n\n')
    out.write("namespace orlu {\n\n")
    out.write("const std::string_view PyMusicCode[PyMusicCodeCount + 1] = {\n")
    out.write('    "",\n')
    line = "   "
    for s in syllables:
        item = f' "{s}",'
        if len(line) + len(item) > 80:
            out.write(line + "\n")
            line = "   "
        line += item
    out.write(line + "\n};\n\n")
    out.write("const std::uint16_t PyCodeIndex[PyCodeIndexSize] = {\n")
    for lead in range(LEAD_FIRST, LEAD_LAST + 1):
        row = index[(lead - LEAD_FIRST) * ROW:(lead - LEAD_FIRST + 1) * ROW]
        out.write(f"    // lead 0x{lead:02X}\n")
        for start in range(0, ROW, 16):
            chunk = row[start:start + 16]
            out.write("    " + ", ".join(str(v) for v in chunk) + ",\n")
    out.write("};\n\n}  // namespace orlu\n")
    with open(os.path.join(OUT_DIR, "hz_spell_tables.cpp"), "w", encoding="ascii", newline="\n") as f:
        f.write(out.getvalue())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--unihan", help="Unihan_Readings.txt(.bz2) or Unihan.zip")
    parser.add_argument("--install", action="store_true",
                        help="install Debian's unicode-data (scripts/install-deps --tables) "
                             "when no Unihan file is found")
    args = parser.parse_args()

    path = find_unihan(args.unihan)
    if path is None and args.install:
        install_unicode_data()
        path = find_unihan(None)
    if path is None:
        sys.exit("make_pinyin_tables: no Unihan readings found in /usr/share/unicode/.\n"
                 "Install them with `scripts/install-deps --tables` (or run this script\n"
                 "with --install), or pass the Unicode Consortium's Unihan.zip with --unihan.")

    syllables, index = build(load_readings(path))
    write_sources(syllables, index)
    filled = sum(1 for v in index if v)
    print(f"make_pinyin_tables: {len(syllables)} readings, {filled} characters "
          f"from {path}", file=sys.stderr)


if __name__ == "__main__":
    main()

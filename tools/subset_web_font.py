#!/usr/bin/python3
"""Cuts the Japanese face that the web page ships down to the characters it shows.

    subset_web_font.py FONT FORM.json NUMTEXT_HEADER OUT.woff2

The characters are every text of the form description (its caption, the
controls' texts and items), the messages of the floating-point faults that the
error box can show (taken from the number-text module's header, where they are
defined), "OK", and printable ASCII for what a user types into the boxes. The
result is WOFF2 under a family name of its own: the font's licence asks that a
derived font not carry the original's name.
"""
import json
import re
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "normcalc Gothic Subset"
POSTSCRIPT = "normcalcGothicSubset"


def form_texts(form):
    yield form["caption"]
    for control in form["controls"]:
        yield control["text"]
        yield from control["items"]


def fault_messages(header_text):
    return re.findall(r'E\w+\(\)\s*:\s*E\w+\("([^"]*)"\)', header_text)


def main():
    font_path, form_path, header_path, out_path = sys.argv[1:5]
    with open(form_path, encoding="utf-8") as f:
        form = json.load(f)
    with open(header_path, encoding="utf-8") as f:
        messages = fault_messages(f.read())
    if not messages:
        sys.exit(f"{header_path}: no fault messages found")
    text = "".join(form_texts(form)) + "".join(messages) + "OK."
    text += "".join(chr(c) for c in range(0x20, 0x7F))

    options = subset.Options()
    options.flavor = "woff2"
    options.layout_features = ["*"]
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6]  # copyright, names, version
    options.notdef_outline = True
    font = TTFont(font_path)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=text)
    subsetter.subset(font)

    name = font["name"]
    name.setName(FAMILY, 1, 3, 1, 0x409)
    name.setName(FAMILY, 4, 3, 1, 0x409)
    name.setName(POSTSCRIPT, 6, 3, 1, 0x409)
    name.setName(f"{POSTSCRIPT}-Regular", 3, 3, 1, 0x409)
    # Every other record of those ids (Mac, Japanese) still holds the old name.
    name.names = [
        record
        for record in name.names
        if record.nameID not in (1, 3, 4, 6) or (record.platformID, record.langID) == (3, 0x409)
    ]
    font.flavor = "woff2"
    font.save(out_path)


if __name__ == "__main__":
    main()

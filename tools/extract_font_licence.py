#!/usr/bin/python3
"""Writes the IPA Font License Agreement as plain text from Debian's copyright file.

    extract_font_licence.py /usr/share/doc/fonts-ipafont-gothic/copyright OUT.txt

The licence asks that its text go along with the font: the web page ships a cut
of the face, so its folder carries this file. Debian keeps the text as the
"License: IPA-1" paragraph (Japanese and English), indented by one blank, with
"." for empty lines.
"""
import sys


def licence_paragraph(lines, name):
    """The text under the first "License: NAME" line that has any (a Files
    paragraph names the licence too, without its text)."""
    for start, line in enumerate(lines):
        if line.strip() != f"License: {name}":
            continue
        out = []
        for text in lines[start + 1 :]:
            if not text.startswith(" "):
                break
            out.append("" if text.strip() == "." else text[1:])
        if out:
            return out
    sys.exit(f"no 'License: {name}' paragraph with text")


def main():
    source, target = sys.argv[1:3]
    with open(source, encoding="utf-8") as f:
        lines = f.read().splitlines()
    with open(target, "w", encoding="utf-8") as f:
        f.write("\n".join(licence_paragraph(lines, "IPA-1")) + "\n")


if __name__ == "__main__":
    main()

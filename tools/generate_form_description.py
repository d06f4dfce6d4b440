#!/usr/bin/env python3
"""Turns the calculator window's form description (a Qt Designer .ui file) into
the control table that every front end reads, so that the layout is written
down once.

    generate_form_description.py FORM.ui --cpp OUT.cpp [--json OUT.json]

--cpp writes the definition of normcalc::Form1Description for the core
library; --json writes the same table for the web page's build. Both list the
controls in creation order (the order of the .ui file) with their tab order
from the .ui's tab stops.
"""
import argparse
import json
import sys
import xml.etree.ElementTree as ElementTree

KINDS = {
    "QLabel": "Label",
    "QPushButton": "PushButton",
    "normcalc::TRadioGroup": "RadioGroup",
    "QLineEdit": "Edit",
}


def fail(message):
    sys.exit(f"generate_form_description: {message}")


def properties(widget):
    return {p.get("name"): p for p in widget.findall("property")}


def number(props, name, default=None):
    if name not in props:
        if default is None:
            fail(f"missing property {name}")
        return default
    return int(props[name].find("number").text)


def string(props, name):
    if name not in props:
        return ""
    return props[name].find("string").text or ""


def font_style(props):
    font = props["font"].find("font") if "font" in props else None
    flag = lambda tag: font is not None and font.findtext(tag) == "true"
    return flag("bold"), flag("italic")


def read_form(path):
    root = ElementTree.parse(path).getroot()
    form = root.find("widget")
    props = properties(form)
    client = form.find("widget")
    tab_stops = [t.text for t in root.findall("tabstops/tabstop")]
    controls = []
    for widget in client.findall("widget"):
        kind = KINDS.get(widget.get("class")) or fail(f"unknown control class {widget.get('class')}")
        name = widget.get("name")
        control_props = properties(widget)
        rect = control_props["geometry"].find("rect")
        bold, italic = font_style(control_props)
        items = control_props.get("Items")
        controls.append({
            "name": name,
            "kind": kind,
            "left": int(rect.findtext("x")),
            "top": int(rect.findtext("y")),
            "width": int(rect.findtext("width")),
            "height": int(rect.findtext("height")),
            "text": string(control_props, "title" if kind == "RadioGroup" else "text"),
            # 0: the control takes the form's font.
            "fontHeight": number(control_props, "FontHeight", 0),
            "bold": bold,
            "italic": italic,
            "tabOrder": tab_stops.index(name) if name in tab_stops else -1,
            "items": [s.text for s in items.findall("stringlist/string")] if items is not None else [],
            "itemIndex": number(control_props, "ItemIndex", -1),
        })
    family = props["font"].find("font").findtext("family")
    return {
        "name": form.get("name"),
        "className": root.findtext("class"),
        "caption": string(props, "windowTitle"),
        "left": number(props, "Left"),
        "top": number(props, "Top"),
        "width": number(props, "Width"),
        "height": number(props, "Height"),
        "fontFace": family,
        "fontHeight": number(props, "FontHeight"),
        "fontCharSet": number(props, "FontCharSet"),
        "pixelsPerInch": number(props, "PixelsPerInch"),
        "textHeight": number(props, "TextHeight"),
        "controls": controls,
    }


def cpp_string(text):
    # UTF-8 bytes as escapes, so the generated file is plain ASCII whatever
    # the compiler's source character set.
    out = []
    for byte in text.encode("utf-8"):
        c = chr(byte)
        out.append(c if 0x20 <= byte < 0x7F and c not in '"\\?' else f"\\{byte:03o}")
    return '"' + "".join(out) + '"'


def cpp_source(form, source_name):
    lines = [
        f"// Made by tools/generate_form_description.py from {source_name} at build",
        "// time; edit the form description, not this file.",
        '#include "normcalc/core.h"',
        "",
        "namespace normcalc {",
        "",
        "namespace {",
        "",
    ]
    for control in form["controls"]:
        if control["items"]:
            items = ", ".join(cpp_string(i) for i in control["items"])
            lines.append(f"constexpr std::string_view k{control['name']}Items[] = {{{items}}};")
    lines += ["", "constexpr TControlDescription kControls[] = {"]
    for c in form["controls"]:
        items = f"k{c['name']}Items" if c["items"] else "{}"
        lines.append(
            f"    {{{cpp_string(c['name'])}, TControlKind::{c['kind']}, {c['left']}, {c['top']}, "
            f"{c['width']}, {c['height']}, {cpp_string(c['text'])}, {c['fontHeight']}, "
            f"{str(c['bold']).lower()}, {str(c['italic']).lower()}, {c['tabOrder']}, {items}, "
            f"{c['itemIndex']}}},")
    lines += [
        "};",
        "",
        "}  // namespace",
        "",
        "const TFormDescription Form1Description = {",
        f"    {cpp_string(form['name'])}, {cpp_string(form['className'])}, {cpp_string(form['caption'])},",
        f"    {form['left']}, {form['top']}, {form['width']}, {form['height']},",
        f"    {cpp_string(form['fontFace'])}, {form['fontHeight']}, {form['fontCharSet']},",
        f"    {form['pixelsPerInch']}, {form['textHeight']},",
        "    kControls,",
        "};",
        "",
        "}  // namespace normcalc",
        "",
    ]
    return "\n".join(lines)


def write_if_changed(path, text):
    try:
        with open(path, encoding="utf-8") as existing:
            if existing.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("form")
    parser.add_argument("--cpp")
    parser.add_argument("--json")
    args = parser.parse_args()
    form = read_form(args.form)
    if args.cpp:
        write_if_changed(args.cpp, cpp_source(form, "core/form/tform1.ui"))
    if args.json:
        write_if_changed(args.json, json.dumps(form, ensure_ascii=False, indent=1) + "\n")


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Writes the calculator's web page as one self-contained index.html.

    generate_web_page.py --form FORM.json --page-dir web/page --module MODULE.js
        --wasm MODULE.wasm --font FONT.woff2 --icon ICON.svg --title TITLE --out index.html

The controls, their texts and their designed positions come from the form
description (FORM.json, made from the one .ui file); the page's own markup,
style and script from web/page/. Font, icon, module and script are embedded so
that the page opens from disk as well as from any server, and needs nothing
more once loaded. The module's WebAssembly goes in gzip-compressed, which
makes the page a third smaller; the page's script inflates it before the
module starts.
"""
import argparse
import base64
import gzip
import html
import json
import pathlib
import re


def data_url(mime, data):
    return f"data:{mime};base64,{base64.b64encode(data).decode('ascii')}"


def bounds_css(control):
    return (
        f"left: {control['left']}px; top: {control['top']}px; "
        f"width: {control['width']}px; height: {control['height']}px;"
    )


def control_markup(control):
    name = control["name"]
    text = html.escape(control["text"])
    kind = control["kind"]
    if kind == "PushButton":
        return f'<button id="{name}" type="button">{text}</button>'
    if kind == "Edit":
        return (
            f'<input id="{name}" type="text" value="{text}" autocomplete="off" '
            'spellcheck="false" autocapitalize="off">'
        )
    if kind == "RadioGroup":
        items = []
        for index, item in enumerate(control["items"]):
            checked = " checked" if index == control["itemIndex"] else ""
            items.append(
                f'<span class="radio-item" id="{name}_{index}_item">'
                f'<input type="radio" id="{name}_{index}" name="{name}" value="{index}"{checked}>'
                f'<label for="{name}_{index}">{html.escape(item)}</label></span>'
            )
        return (
            f'<fieldset id="{name}"><span class="group-frame" aria-hidden="true"></span>'
            f"<legend>{text}</legend>{''.join(items)}</fieldset>"
        )
    raise ValueError(f"{name}: no markup for a control of kind {kind}")


def label_markup(control, controls_by_position):
    """A label names the box that stands right of it on its row, if any."""
    name = control["name"]
    text = html.escape(control["text"])
    right = control["left"] + control["width"]
    for other in controls_by_position:
        if (
            other["kind"] == "Edit"
            and other["top"] == control["top"]
            and 0 <= other["left"] - right <= 16
        ):
            return f'<label id="{name}" class="label" for="{other["name"]}">{text}</label>'
    return f'<div id="{name}" class="label">{text}</div>'


def label_css(control):
    style = "italic" if control["italic"] else "normal"
    weight = "bold" if control["bold"] else "normal"
    return (
        f"left: {control['left']}px; top: {control['top']}px; "
        f"font-size: {control['fontHeight']}px; font-weight: {weight}; font-style: {style};"
    )


def main():
    parser = argparse.ArgumentParser()
    for option in (
        "--form", "--page-dir", "--module", "--wasm", "--font", "--icon", "--title", "--out"
    ):
        parser.add_argument(option, required=True)
    args = parser.parse_args()

    form = json.loads(pathlib.Path(args.form).read_text(encoding="utf-8"))
    page_dir = pathlib.Path(args.page_dir)
    controls = form["controls"]
    labels = [c for c in controls if c["kind"] == "Label"]
    # Focusable controls stand in the document in their tab order, so that the
    # browser's own order agrees with the page's Tab handling.
    focusable = sorted((c for c in controls if c["tabOrder"] >= 0), key=lambda c: c["tabOrder"])
    if len(labels) + len(focusable) != len(controls):
        raise ValueError("every control must be a label or take the focus")

    css = [f"/* Designed at {form['pixelsPerInch']} pixels per inch: CSS pixels. */"]
    css.append(
        f".window {{ width: {form['width']}px; height: {form['height']}px; }}\n"
        f".client {{ font-size: {form['fontHeight']}px; }}"
    )
    for control in controls:
        rule = label_css(control) if control["kind"] == "Label" else bounds_css(control)
        css.append(f"#{control['name']} {{ {rule} }}")

    markup = [label_markup(c, controls) for c in labels]
    markup += [control_markup(c) for c in focusable]

    module = pathlib.Path(args.module).read_text(encoding="utf-8")
    script = (page_dir / "page.js").read_text(encoding="utf-8")
    for name, code in (("module", module), ("page script", script)):
        if "</script" in code.lower():
            raise ValueError(f"the {name} contains a closing script tag")
    description = json.dumps(form, ensure_ascii=False).replace("</", "<\\/")

    template = (page_dir / "index.html").read_text(encoding="utf-8")
    fields = {
        "TITLE": html.escape(args.title),
        "CAPTION": html.escape(form["caption"]),
        "ICON": data_url("image/svg+xml", pathlib.Path(args.icon).read_bytes()),
        "FONT": data_url("font/woff2", pathlib.Path(args.font).read_bytes()),
        "STYLE": (page_dir / "page.css").read_text(encoding="utf-8"),
        "LAYOUT": "\n".join(css),
        "CONTROLS": "\n".join(markup),
        "DESCRIPTION": description,
        "MODULE": module,
        # mtime 0: the same module makes the same page.
        "WASM": base64.b64encode(
            gzip.compress(pathlib.Path(args.wasm).read_bytes(), compresslevel=9, mtime=0)
        ).decode("ascii"),
        "SCRIPT": script,
    }
    for key in fields:
        if "{{" + key + "}}" not in template:
            raise ValueError(f"index.html has no {{{{{key}}}}}")
    # One pass, so that nothing inserted is itself searched for markers.
    page = re.sub(r"\{\{([A-Z]+)\}\}", lambda m: fields[m.group(1)], template)
    pathlib.Path(args.out).write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main()

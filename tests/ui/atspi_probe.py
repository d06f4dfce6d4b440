#!/usr/bin/python3
"""The calculator as a screen reader sees it on the accessibility bus (AT-SPI).

    atspi_probe.py PID controls [DPI]   check the name, role and place of every control
    atspi_probe.py PID focus ROLE NAME  wait until the focus is on ROLE named NAME
    atspi_probe.py PID text NAME VALUE  wait until the edit box named NAME reads VALUE
    atspi_probe.py PID alert CAPTION TEXT
                                        wait for the error box: an alert captioned
                                        CAPTION whose text reads TEXT, with the focus
                                        on its OK button
    atspi_probe.py PID dump             print what the program shows, for reading

PID is the program's process id: the probe looks only at that application.
Every wait polls the bus, since the program announces its changes
asynchronously. Prints one "ok:" line per check; a failed check exits 1.
"""
import sys
import time

import pyatspi

WAIT_SECONDS = 20

# Every control of the window as a screen reader announces it: its role and
# its name (an edit box is named by its label, a button by its text), and for
# the MODE group its items in order. Qt gives a group box the role "panel";
# screen readers announce a named panel by its name as the focus enters it.
EXPECTED_CONTROLS = [
    ("label", "標準正規分布N(0,1)\u3000"),
    ("push button", "EXIT"),
    ("push button", "EXECUTE"),
    ("panel", "MODE"),
    ("label", "f(0<x<X)=P"),
    ("label", "X="),
    ("text", "X="),
    ("label", "P="),
    ("text", "P="),
]
EXPECTED_GROUP_ITEMS = [("radio button", "X\u2192P"), ("radio button", "P\u2192X")]


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that left the bus while we looked
            continue
    return None


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def descendants(accessible):
    for child in accessible:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def extents(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def wait_for(what, find):
    deadline = time.monotonic() + WAIT_SECONDS
    while True:
        found = find()
        if found is not None:
            return found
        if time.monotonic() > deadline:
            fail(f"gave up waiting for {what}")
        time.sleep(0.1)


def top_level(pid, role, name=None):
    def find():
        app = application(pid)
        if app is None:
            return None
        for window in app:
            if window is not None and window.getRoleName() == role and showing(window):
                if name is None or window.name == name:
                    return window
        return None

    return wait_for(f"a {role} named {name!r} of process {pid}", find)


def describe(accessible):
    return f"{accessible.getRoleName()} {accessible.name!r}"


def check_controls(pid):
    window = top_level(pid, "frame", "Form1")
    wx, wy, ww, wh = extents(window)
    seen = [a for a in descendants(window) if showing(a)]
    controls = [
        (a.getRoleName(), a.name)
        for a in seen
        if a.getRoleName() in ("label", "push button", "panel", "text")
    ]
    if sorted(controls) != sorted(EXPECTED_CONTROLS):
        fail(f"the controls read {controls}, not {EXPECTED_CONTROLS}")
    print(f"ok: {len(controls)} controls named and with their roles")

    group = next(a for a in seen if a.getRoleName() == "panel")
    items = [(a.getRoleName(), a.name) for a in group if a is not None and showing(a)]
    if items != EXPECTED_GROUP_ITEMS:
        fail(f"the MODE group holds {items}")
    if not group[0].getState().contains(pyatspi.STATE_CHECKED):
        fail("X\u2192P is not checked at start")
    print("ok: the MODE group holds X\u2192P (checked) and P\u2192X")

    # Nothing is cut off: every control lies wholly inside the window, and no
    # scroll bar shows.
    for a in seen:
        x, y, w, h = extents(a)
        if w <= 0 or h <= 0 or x < wx or y < wy or x + w > wx + ww or y + h > wy + wh:
            fail(f"{describe(a)} at {x},{y} {w}x{h} is not inside the window "
                 f"at {wx},{wy} {ww}x{wh}")
        if a.getRoleName() == "scroll bar":
            fail("a scroll bar shows")
    print(f"ok: every control lies inside the window at {wx},{wy} {ww}x{wh}, no scroll bars")


def focused(pid):
    app = application(pid)
    if app is None:
        return None
    # A group that hands its focus on to an item reports itself focused too;
    # the item, deeper in the tree, is what has the focus.
    found = None
    for a in descendants(app):
        if a.getState().contains(pyatspi.STATE_FOCUSED):
            found = a
    return found


def check_focus(pid, role, name):
    def find():
        a = focused(pid)
        return a if a is not None and (a.getRoleName(), a.name) == (role, name) else None

    wait_for(f"the focus on {role} {name!r} (it is on "
             f"{describe(focused(pid)) if focused(pid) else 'nothing'})", find)
    print(f"ok: a screen reader announces {role} {name!r}")


def check_text(pid, name, value):
    window = top_level(pid, "frame", "Form1")
    box = next((a for a in descendants(window) if (a.getRoleName(), a.name) == ("text", name)),
               None)
    if box is None:
        fail(f"no edit box named {name!r}")

    def read():
        text = box.queryText()
        return text.getText(0, text.characterCount)

    wait_for(f"the box {name!r} to read {value!r} (it reads {read()!r})",
             lambda: True if read() == value else None)
    print(f"ok: a screen reader reads {value!r} in {name!r}")


def check_alert(pid, caption, text):
    def find():
        app = application(pid)
        if app is None:
            return None
        for window in app:
            if window is not None and window.getRoleName() == "alert" and showing(window):
                return window
        return None

    alert = wait_for("an alert", find)
    # Qt names an alert without a caption by its text, which a screen reader
    # then reads twice rather than announcing a nameless window.
    if alert.name != (caption or text):
        fail(f"the alert is named {alert.name!r}, not {caption or text!r}")
    texts = [a.name for a in descendants(alert) if a.getRoleName() == "label" and showing(a)]
    if text not in texts:
        fail(f"the alert's labels read {texts}, not {text!r}")
    check_focus(pid, "push button", "OK")
    print(f"ok: an alert captioned {caption!r} reads {text!r}")


def dump(pid):
    app = application(pid)
    if app is None:
        fail(f"process {pid} is not on the accessibility bus")

    def walk(accessible, depth):
        for child in accessible:
            if child is None or not showing(child):
                continue
            print("  " * depth + f"{describe(child)} {extents(child)}")
            walk(child, depth + 1)

    print(describe(app))
    walk(app, 1)


def main(argv):
    if len(argv) < 3:
        fail(__doc__)
    pid, command, arguments = int(argv[1]), argv[2], argv[3:]
    if command == "controls":
        check_controls(pid)
    elif command == "focus" and len(arguments) == 2:
        check_focus(pid, *arguments)
    elif command == "text" and len(arguments) == 2:
        check_text(pid, *arguments)
    elif command == "alert" and len(arguments) == 2:
        check_alert(pid, *arguments)
    elif command == "dump":
        dump(pid)
    else:
        fail(__doc__)


if __name__ == "__main__":
    main(sys.argv)

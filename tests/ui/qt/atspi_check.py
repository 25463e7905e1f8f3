#!/usr/bin/python3
"""Reads the running korvale through AT-SPI, as a screen reader does: the four controls with their
roles and names, the group "结果", the values; then types into the teeth entry with xdotool and
waits for the new values and the text-changed events of both results. Prints the tree.
Usage: atspi_check.py WINDOW_ID"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib


def find_application():
    for _ in range(100):
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == "korvale":
                return application
        time.sleep(0.1)
    sys.exit("FAIL: korvale is not on the accessibility bus")


def walk(node, depth=0):
    yield depth, node
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except NotImplementedError:
        return None


def dump(application):
    lines = []
    for depth, node in walk(application):
        text = text_of(node)
        value = f" = \"{text}\"" if text is not None else ""
        lines.append(f"{'  ' * depth}{node.getRoleName()} \"{node.name}\"{value}")
    return "\n".join(lines)


def named(application, role, name):
    for _, node in walk(application):
        if node.getRoleName() == role and node.name == name:
            return node
    sys.exit(f"FAIL: no {role} named \"{name}\"\n{dump(application)}")


def expect(what, actual, expected):
    if actual != expected:
        sys.exit(f"FAIL: {what} is {actual!r}, expected {expected!r}")


# The names in the language the desktop speaks (the second argument, zh or en).
NAMES = {
    "zh": ("齿数T", "结果", "顶圆直径Da", "节圆直径 D", "模数M"),
    "en": ("Teeth", "Results", "Outside Da", "Pitch dia. D", "Pitch"),
}[sys.argv[2]]
application = find_application()
teeth = named(application, "text", NAMES[0])
group = named(application, "panel", NAMES[1])
tip = named(group, "text", NAMES[2])
pitch_circle = named(group, "text", NAMES[3])
combo = next(node for _, node in walk(application) if node.getRoleName() == "combo box")
field = named(combo, "text", NAMES[4])
expect("the teeth", text_of(teeth), "20")
expect("the pitch field", text_of(field), "5M")
expect("D", text_of(pitch_circle), "31.83")
expect("Da", text_of(tip), "31.83")
entries = [item.name for _, item in walk(combo) if item.getRoleName() == "list item"]
expect("the pitch list", entries, ["3M", "5M", "8M", "14M"])
labels = [target.name for relation in combo.getRelationSet()
          if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
          for target in (relation.getTarget(i) for i in range(relation.getNTargets()))]
expect("the pitch list's label", labels, [NAMES[4] + ":"])

changed = set()
pyatspi.Registry.registerEventListener(
    lambda event: changed.add(event.source.name), "object:text-changed")


def type_three():
    subprocess.run(["xdotool", "windowfocus", "--sync", sys.argv[1], "type", "--delay", "40", "3"],
                   check=True)
    GLib.timeout_add(1500, lambda: pyatspi.Registry.stop())
    return False


GLib.timeout_add(300, type_three)
pyatspi.Registry.start()
expect("the teeth after typing", text_of(teeth), "203")
expect("D after typing", text_of(pitch_circle), "323.08")
expect("Da after typing", text_of(tip), "323.08")
for name in (NAMES[3], NAMES[2]):
    if name not in changed:
        sys.exit(f"FAIL: no text-changed event from \"{name}\" (seen from: {sorted(changed)})")
print(dump(application))

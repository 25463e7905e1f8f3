#!/usr/bin/python3
"""Reads the running korvale through AT-SPI, as a screen reader does: the four controls with their
roles and names, the results group, the values; then types into the teeth entry with xdotool and
waits for the new values and the text-changed events of both results. Prints the tree.
Usage: atspi_check.py WINDOW_ID LANGUAGE (zh or en, the names it expects)"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib


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
    return "\n".join(f"{'  ' * depth}{node.getRoleName()} \"{node.name}\""
                     + (f" = \"{text_of(node)}\"" if text_of(node) is not None else "")
                     for depth, node in walk(application))


def named(application, role, name):
    for _, node in walk(application):
        if node.getRoleName() == role and (name is None or node.name == name):
            return node
    sys.exit(f"FAIL: no {role} named \"{name}\"\n{dump(application)}")


def expect(what, actual, expected):
    if actual != expected:
        sys.exit(f"FAIL: {what} is {actual!r}, expected {expected!r}")


NAMES = {
    "zh": ("齿数T", "结果", "顶圆直径Da", "节圆直径 D", "模数M"),
    "en": ("Teeth", "Results", "Outer Da", "Pitch D", "Pitch"),
}[sys.argv[2]]
for _ in range(300):
    application = next((a for a in pyatspi.Registry.getDesktop(0)
                        if a is not None and a.name == "korvale"), None)
    if application is not None:
        break
    time.sleep(0.1)
else:
    sys.exit("FAIL: korvale is not on the accessibility bus")
teeth = named(application, "text", NAMES[0])
group = named(application, "panel", NAMES[1])
tip = named(group, "text", NAMES[2])
pitch_circle = named(group, "text", NAMES[3])
combo = named(application, "combo box", None)
expect("the values", [text_of(node) for node in (teeth, named(combo, "text", NAMES[4]),
                                                  pitch_circle, tip)], ["20", "5M", "31.83", "31.83"])
expect("the pitch list", [item.name for _, item in walk(combo) if item.getRoleName() == "list item"],
       ["3M", "5M", "8M", "14M"])
expect("the pitch list's label", [
    relation.getTarget(i).name for relation in combo.getRelationSet()
    if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
    for i in range(relation.getNTargets())], [{"zh": "模数M:", "en": "Pitch"}[sys.argv[2]]])

changed = set()
pyatspi.Registry.registerEventListener(
    lambda event: changed.add(event.source.name), "object:text-changed")


def type_three():
    subprocess.run(["xdotool", "windowfocus", "--sync", sys.argv[1], "type", "--delay", "40", "3"],
                   check=True)
    # The events may be slow to come on a busy machine: wait for both results, half a minute at most.
    deadline = time.monotonic() + 30

    def stop_when_told():
        if {NAMES[3], NAMES[2]} <= changed or time.monotonic() > deadline:
            pyatspi.Registry.stop()
            return False
        return True

    GLib.timeout_add(100, stop_when_told)
    return False


GLib.timeout_add(300, type_three)
pyatspi.Registry.start()
expect("the values after typing", [text_of(node) for node in (teeth, pitch_circle, tip)],
       ["203", "323.08", "323.08"])
expect("the results that told of a change", {NAMES[3], NAMES[2]} - changed, set())
print(dump(application))

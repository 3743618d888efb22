#!/usr/bin/env python3
"""What assistive technology reads of the window program over AT-SPI.

  accessibility_reader.py TITLE tree        the handheld's group, once: its value,
                                            then "button NAME enabled|disabled"
                                            and "status TEXT" lines
  accessibility_reader.py TITLE press NAME  presses that button by its action
  accessibility_reader.py TITLE listen      "value N" and "status TEXT" lines as
                                            they change, until killed

Exits 2 while the program is not on the accessibility bus yet.
"""
import sys

import pyatspi


def handheld(title):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != title:
            continue
        group = pyatspi.findDescendant(
            app, lambda a: a is not None and a.name == title and a.getRoleName() == "panel")
        if group is not None:
            return group
    sys.exit(2)


def value_of(group):
    return int(group.queryValue().currentValue)


def parts(group):
    for part in group:
        if part.getRole() == pyatspi.ROLE_PUSH_BUTTON:
            enabled = part.getState().contains(pyatspi.STATE_ENABLED)
            yield "button", part.name, "enabled" if enabled else "disabled", part
        elif part.getRole() == pyatspi.ROLE_STATUS_BAR:
            yield "status", part.name, "", part


def main(title, command, *args):
    group = handheld(title)
    if command == "tree":
        print("value", value_of(group))
        for kind, name, state, _ in parts(group):
            print(" ".join(word for word in (kind, name, state) if word))
    elif command == "press":
        for kind, name, state, part in parts(group):
            if kind == "button" and name == args[0]:
                part.queryAction().doAction(0)
                return
        sys.exit(f"no button {args[0]}")
    elif command == "listen":
        def heard(event):
            if event.source == group and event.type.startswith("object:property-change:accessible-value"):
                print("value", value_of(group), flush=True)
            elif event.source.getRole() == pyatspi.ROLE_STATUS_BAR:
                print("status", event.source.name, flush=True)
        pyatspi.Registry.registerEventListener(
            heard, "object:property-change:accessible-value", "object:property-change:accessible-name")
        print("listening", flush=True)
        pyatspi.Registry.start()


if __name__ == "__main__":
    main(*sys.argv[1:])

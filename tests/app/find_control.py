#!/usr/bin/python3
"""Prints the screen rectangle "x y width height" of a control of the running Slabwright2,
found through the accessibility bus by its accessible name: what a screen reader says for it
(its text, its label's text, or a short name such as "Room map")."""
import sys
import time

import pyatspi


def find(node, name, depth=0):
    if node is None or depth > 40:
        return None
    try:
        if node.name == name:
            return node
        for child in node:
            found = find(child, name, depth + 1)
            if found is not None:
                return found
    except Exception:  # a node that went away while we looked
        return None
    return None


def main():
    name = sys.argv[1]
    for _ in range(50):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Slabwright2":
                node = find(app, name)
                if node is not None:
                    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                    print(e.x, e.y, e.width, e.height)
                    return 0
        time.sleep(0.2)
    print(f"no control named {name}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())

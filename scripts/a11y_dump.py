#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Run by a11y-check.sh: walks K3N's tree on the accessibility bus with every
# page open, then every window the menus open, in English and in Chinese, and
# prints what a screen reader would find unnamed. Exits 1 unless nothing is.
# The menus are found by their English names; the English run leaves their
# places in the file named by A11Y_MENU_PLACES for the Chinese run.
import json
import os
import re
import sys
import time

import pyatspi

NUMBER = re.compile(r"^\d*$")
HEADER_ROLES = {pyatspi.ROLE_COLUMN_HEADER, pyatspi.ROLE_TABLE_COLUMN_HEADER}


def find_app(timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name and "k3n" in app.name.lower():
                return app
        time.sleep(0.3)
    sys.exit("K3N did not appear on the accessibility bus")


def labelled(obj):
    for relation in obj.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                if (relation.getTarget(i).name or "").strip():
                    return True
    return False


def can_be_used(obj, states):
    if states.contains(pyatspi.STATE_FOCUSABLE):
        return True
    try:
        return obj.queryAction().nActions > 0
    except NotImplementedError:
        return False


def walk(obj, found, path=""):
    try:
        states = obj.getState()
        role = obj.getRole()
        name = (obj.name or "").strip()
    except Exception:
        return
    if not states.contains(pyatspi.STATE_SHOWING) and role not in HEADER_ROLES:
        return
    found["objects"] += 1
    found["tables"] += role == pyatspi.ROLE_TABLE
    here = f"{path}/{obj.getRoleName()}:{name[:20]}"
    if role in HEADER_ROLES:
        if NUMBER.match(name):
            found["headers"].append(here)
    elif can_be_used(obj, states) and not name and not labelled(obj):
        found["unnamed"].append(here)
    for child in obj:
        if child is not None:
            walk(child, found, here)


def by_role(obj, role, name=None):
    if obj.getRole() == role and (name is None or obj.name == name):
        return obj
    for child in obj:
        if child is not None:
            hit = by_role(child, role, name)
            if hit:
                return hit
    return None


def open_every_page(app):
    # A click on each node of the page tree, as a user would make it.
    tree = by_role(app, pyatspi.ROLE_TREE) or by_role(app, pyatspi.ROLE_TREE_TABLE)
    if tree is None:
        sys.exit("no page tree")
    nodes = [child for child in tree if child is not None and child.getRole() not in HEADER_ROLES]
    for node in nodes[1:]:   # the root opens the first page too
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, "b1c")
        time.sleep(0.5)
    time.sleep(1)


# The windows the menus open: (menu, item) by their English names, or a menu bar item alone.
MENU_WINDOWS = [
    ("Communication Port",),
    ("Radio Test",),
    ("File", "Restore radio from backup\u2026"),
    ("Edit", "Read from radio"),
    ("Edit", "Write to radio"),
    ("Edit", "Check configuration"),
    ("Edit", "Compare with radio\u2026"),
    ("Edit", "Write to several radios\u2026"),
    ("Help", "About..."),
]


def click(obj):
    box = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, "b1c")
    time.sleep(0.7)


def menu_places(bar):
    # Each menu window's place: the index of its menu bar item, and of its item in the menu.
    places = []
    for path in MENU_WINDOWS:
        top = next(i for i, item in enumerate(bar) if item.name == path[0])
        if len(path) == 1:
            places.append([top])
        else:
            items = bar[top][0]
            places.append([top, next(i for i, item in enumerate(items) if item.name == path[1])])
    return places


def walk_menu_windows(app, found):
    frame = app[0]
    bar = by_role(frame, pyatspi.ROLE_MENU_BAR)
    place_file = os.environ.get("A11Y_MENU_PLACES", "")
    if place_file and os.path.exists(place_file):
        with open(place_file) as f:
            places = json.load(f)
    else:
        places = menu_places(bar)
        if place_file:
            with open(place_file, "w") as f:
                json.dump(places, f)
    for place in places:
        before = {w.name for w in app}
        click(bar[place[0]])
        if len(place) > 1:
            click(bar[place[0]][0][place[1]])
        time.sleep(1)
        for window in list(app):
            if window is not None and window.name not in before:
                found["windows"] += 1
                walk(window, found)
        for _ in range(3):   # the window, and a question or list it brought up
            if {w.name for w in app} <= before:
                break
            pyatspi.Registry.generateKeyboardEvent(0xFF1B, None, pyatspi.KEY_SYM)   # Escape
            time.sleep(0.7)


def main():
    language = sys.argv[1] if len(sys.argv) > 1 else ""
    app = find_app()
    time.sleep(2)
    open_every_page(app)
    found = {"unnamed": [], "headers": [], "objects": 0, "tables": 0, "windows": 0}
    walk(app, found)
    walk_menu_windows(app, found)
    print(f"{language}: {found['objects']} objects in {found['tables']} grids and {found['windows']} windows besides "
          f"the main one, {len(found['unnamed'])} unnamed focusable or actionable objects, "
          f"{len(found['headers'])} column headers named by a number")
    for kind in ("unnamed", "headers"):
        for path in found[kind][:40]:
            print(f"  {kind}: {path}")
    sys.exit(1 if found["unnamed"] or found["headers"] else 0)


main()

#!/usr/bin/env python3
"""The chart as the workspace, over the accessibility bus and the real pointer: a Solent
passage opened from the command line fills the map; Zoom In, Zoom Out and Fit Voyage change
what the map shows (its description says how many miles across); a place is added from the
map's context menu (a right click with xdotool, its first item chosen
with the keys); its marker is dragged with the real pointer;
Edit > Undo takes back the drag, then the addition, and Redo makes the addition again."""

import os
import re
import shutil
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
from gui import App, wait_until  # noqa: E402
from test_route import check, exit_without_saving, finish, step  # noqa: E402

TITLE = "Route Map: Yarmouth to Cowes"
START = """<?xml version="1.0"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1"><rte>
<rtept lat="50.706" lon="-1.5"><name>Yarmouth</name></rtept>
<rtept lat="50.766" lon="-1.298"><name>Cowes</name></rtept></rte></gpx>
"""
ACROSS = re.compile(r"the map shows (\d+) nm across")


def main():
    program = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/ci/app/gyrena")
    if not os.access(program, os.X_OK):
        print("FAIL  missing: the program %s" % program)
        print("0 passed, 1 failed")
        return 1
    folder = tempfile.mkdtemp(prefix="gyrena-chart-")
    start = os.path.join(folder, "solent.gpx")
    with open(start, "w", encoding="utf-8") as f:
        f.write(START)
    state = {}

    with App([program, start]) as app:
        def the_map():
            return app.find("Route map", within=state["window"])

        def across():
            found = ACROSS.search(the_map().description or "")
            return int(found.group(1)) if found else None

        def places():
            items = app.find_all(role="list item", within=state["window"])
            return [i.name for i in items if "\u2014" in (i.name or "")]

        def opened():
            state["window"] = wait_until(
                lambda: next((w for w in app.windows() if w.name == TITLE and w.showing), None),
                what="the route window")
            state["fitted"] = wait_until(across, what="the map's description")
            # Seventeen miles of passage in a map some 700 pixels wide: tens of miles across,
            # not the world.
            check(state["fitted"] < 60, "fitted: %s nm across" % state["fitted"])
        step("a coastal passage opens fitted to the map", opened)

        def zoom():
            w = state["window"]
            fitted = state["fitted"]
            app.click(app.find("Zoom In", role="push button", within=w))
            wait_until(lambda: across() < fitted / 1.4, what="zoomed in")
            app.click(app.find("Zoom Out", role="push button", within=w))
            app.click(app.find("Zoom Out", role="push button", within=w))
            wait_until(lambda: across() > fitted * 1.4, what="zoomed out")
            app.click(app.find("Fit Voyage", role="push button", within=w))
            wait_until(lambda: across() == fitted, what="fitted again")
        step("Zoom In, Zoom Out and Fit Voyage change what the map shows", zoom)

        def add_from_menu():
            x, y, width, height = the_map().extents
            state["at"] = (x + width * 3 // 4, y + height // 4)
            app.activate(state["window"])
            app.desk.run_x("xdotool", "mousemove", "--sync", str(state["at"][0]),
                           str(state["at"][1]), "click", "3")
            # Qt leaves popup menus out of the accessibility tree, so the menu is driven as a
            # user's keyboard does: its first item, "Add Place Here".
            app.desk.run_x("xdotool", "sleep", "0.5", "key", "Down", "Return")
            wait_until(lambda: len(places()) == 3, what="a third place")
            state["added"] = places()[2]
        step("Add Place Here from the map's context menu adds a place at the end", add_from_menu)

        def drag():
            (x, y) = state["at"]
            moves = []
            for k in range(1, 7):
                moves += ["mousemove", str(x - 12 * k), str(y + 8 * k), "sleep", "0.1"]
            # (No --sync: the pointer is there already, and xdotool would wait for it to move.)
            app.desk.run_x("xdotool", "mousemove", str(x), str(y), "sleep", "0.2", "mousedown", "1",
                           *moves, "mouseup", "1")
            app.sync()
            wait_until(lambda: len(places()) == 3 and places()[2] != state["added"],
                       what="the place moved")
        step("dragging the new place's marker moves the place", drag)

        def undo():
            w = state["window"]
            app.menu("Edit", re.compile("^Undo"), window=w)
            wait_until(lambda: places()[2:] == [state["added"]], what="the drag taken back")
            app.menu("Edit", re.compile("^Undo"), window=w)
            wait_until(lambda: len(places()) == 2, what="the addition taken back")
            app.menu("Edit", re.compile("^Redo"), window=w)
            wait_until(lambda: places()[2:] == [state["added"]], what="the addition again")
        step("Edit > Undo takes back the drag and the addition, Redo makes it again", undo)

        step("File > Exit ends the program", lambda: exit_without_saving(app))

    shutil.rmtree(folder, ignore_errors=True)
    return finish()


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""The route window end to end, over the accessibility bus, under a German locale (decimal
comma): compute San Francisco to Sydney, open Options > Route Map, read the waypoint table and
the summary as a screen reader gets them, change the spacing and export a GPX file that is
valid against the GPX 1.1 schema and that gpsbabel reads back with every position.

    /usr/bin/python3 tests/e2e/test_routemap.py [PATH_TO_GYRENA]

The schema comes from scripts/schemas.sh (GYRENA_SCHEMA_DIR, default build/ci/schemas); the
locale is compiled with localedef into a temporary folder.

Prints PASS/FAIL per step and a closing line "N passed, N failed"; exits 1 when a step failed.
"""
import csv
import io
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
from gui import App, wait_until  # noqa: E402
from gi.repository import Atspi  # noqa: E402  (gui has chosen its version)
from test_route import check, combo, equal, exit_without_saving, finish, step  # noqa: E402

TITLE = "Route Map: San Francisco to Sydney"
# San Francisco 37 45 N 122 27 W to Sydney 34 0 S 151 0 E, as a navigator reads them.
# The window follows the user's locale; the German one writes a decimal comma.
FIRST_ROW = ["1", "San Francisco", "37°45,0'N", "122°27,0'W"]
# The distances are steered (rhumb legs between the waypoints), a little over the great circle.
# No course or leg on the last row, then today's variation at Sydney (no departure: no times).
LAST_ROW = ["Sydney", "34°00,0'S", "151°00,0'E", "", "", "6458,9", "0,0", "", "", "", ""]
VARIATION = re.compile(r"^\d+,\d°E$")
SUMMARY = "Great circle 6457,9 nm, rhumb line 6476,2 nm: the great circle saves 18,3 nm"


def table_rows(table):
    acc = table.acc
    rows = Atspi.Table.get_n_rows(acc)
    columns = Atspi.Table.get_n_columns(acc)
    return [[Atspi.Table.get_accessible_at(acc, r, c).get_name() for c in range(columns)]
            for r in range(rows)]


def german_locale(folder):
    """Compiles de_DE.UTF-8 into folder; localedef exits 1 on mere warnings."""
    subprocess.run(["localedef", "-i", "de_DE", "-f", "UTF-8", os.path.join(folder, "de_DE.UTF-8")],
                   capture_output=True, timeout=120)
    return os.path.exists(os.path.join(folder, "de_DE.UTF-8", "LC_NUMERIC"))


def main():
    program = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/ci/app/gyrena")
    gpsbabel = shutil.which("gpsbabel")
    xmllint = shutil.which("xmllint")
    schema = os.path.join(os.environ.get("GYRENA_SCHEMA_DIR", "build/ci/schemas"),
                          "Topografix_gpx11.xsd")
    folder = tempfile.mkdtemp(prefix="gyrena-routemap-")
    missing = [what for what, ok in [("the program %s" % program, os.access(program, os.X_OK)),
                                     ("gpsbabel", gpsbabel), ("xmllint", xmllint),
                                     ("the schema %s" % schema, os.path.exists(schema)),
                                     ("localedef's de_DE.UTF-8", german_locale(folder))] if not ok]
    if missing:
        print("FAIL  missing: %s" % ", ".join(missing))
        print("0 passed, 1 failed")
        return 1
    gpx = os.path.join(folder, "sf-sydney.gpx")
    state = {}

    with App([program], locale="de_DE.UTF-8", env={"LOCPATH": folder}) as app:
        def compute():
            check(not app.find("Route Map", role="menu item").enabled,
                  "Route Map is disabled before a route is computed")
            for description, text in [("Start latitude degrees", "37"),
                                      ("Start latitude minutes", "45"),
                                      ("Start latitude direction", "N"),
                                      ("Start longitude degrees", "122"),
                                      ("Start longitude minutes", "27"),
                                      ("Start longitude direction", "W"),
                                      ("End latitude degrees", "34"),
                                      ("End latitude minutes", "0"),
                                      ("End latitude direction", "S"),
                                      ("End longitude degrees", "151"),
                                      ("End longitude minutes", "0"),
                                      ("End longitude direction", "E")]:
                app.type_text(combo(app, description), text)
                app.wait_text(combo(app, description), text)
            app.type_text(combo(app, "Start location name"), "San Francisco")
            app.type_text(combo(app, "End location name"), "Sydney")
            wait_until(lambda: app.is_enabled("Done with Inputs"), what="Done with Inputs")
            app.click("Done with Inputs")
            app.expect_dialog("Check Coordinates")
            app.answer("Yes")
            app.wait_showing(app.find("Compute Outputs", role="push button"))
            app.click("Compute Outputs")
            app.wait_text(app.find("Great Circle Distance, nautical miles", role="text"), "6457,91")
            check(app.find("Route Map", role="menu item").enabled,
                  "Route Map is enabled after Compute Outputs")
        step("compute San Francisco to Sydney; Route Map becomes enabled", compute)

        def open_window():
            app.menu("Options", "Route Map")
            state["window"] = wait_until(
                lambda: next((w for w in app.windows() if w.name == TITLE and w.showing), None),
                what="the route window")
            equal(state["window"].role, "frame", "the route window's role, as the main window's")
            chart = app.find("Route map", within=state["window"])
            check(chart.description.startswith(
                "Great circle from San Francisco to Sydney, 6458 nautical miles, leaving on "
                "course 240°, highest latitude 37°45'N"), "map description: %r" % chart.description)
        step("Options > Route Map opens the window with both names in its title", open_window)

        def read_rows():
            table = app.find("Waypoints", role="table", within=state["window"])
            rows = table_rows(table)
            equal(len(rows), 10, "rows every 10 degrees of longitude")
            equal(rows[0][:4], FIRST_ROW, "first row")
            last = rows[-1][1:]
            check(VARIATION.match(last.pop(4)) is not None, "the variation at Sydney: %r" % rows[-1])
            equal(last[:len(LAST_ROW)], LAST_ROW, "last row")
        step("the table's first and last rows are the two ends", read_rows)

        def summary():
            label = app.find(role="label", description="Route summary", within=state["window"])
            check(label.name.startswith(SUMMARY), "the summary as read: %r" % label.name)
            check("; WGS84 6455,2 nm" in label.name, "the WGS84 figure: %r" % label.name)
        step("a screen reader reads the summary itself, in the user's locale", summary)

        def spacing():
            app.choose(app.find(role="combo box", description="Waypoint spacing", within=state["window"]),
                       "Every 1000 nm")
            table = app.find("Waypoints", role="table", within=state["window"])
            wait_until(lambda: Atspi.Table.get_n_rows(table.acc) == 8, what="8 rows")
            rows = table_rows(table)
            equal([r[7] for r in rows],
                  ["0,0", "1001,0", "2001,4", "3001,5", "4001,5", "5001,5", "6002,0", "6460,0"],
                  "distances steered from the start")
        step("every 1000 nm gives a waypoint each 1000 nm", spacing)

        def export():
            app.click(app.find("Export GPX", role="push button", within=state["window"]))
            app.expect_dialog("Export GPX")
            name = app.find(role="text", within=app.dialog, label="File name:")
            app.type_text(name, gpx, enter=True)
            wait_until(lambda: os.path.exists(gpx), what="the GPX file")
            lint = subprocess.run([xmllint, "--noout", "--schema", schema, gpx],
                                  capture_output=True, text=True, timeout=60)
            check(lint.returncode == 0, "GPX 1.1 schema: %s" % lint.stderr.strip())
            out = subprocess.run([gpsbabel, "-r", "-i", "gpx", "-f", gpx, "-o", "unicsv", "-F", "-"],
                                 check=True, capture_output=True, text=True, timeout=30).stdout
            points = list(csv.DictReader(io.StringIO(out)))
            equal(len(points), 8, "route points read back")
            equal((points[0]["Name"], points[-1]["Name"]), ("San Francisco", "Sydney"), "names")
            check(abs(float(points[0]["Latitude"]) - 37.75) < 1e-6
                  and abs(float(points[-1]["Longitude"]) - 151.0) < 1e-6, "positions: %r" % points)
        step("Export GPX writes a valid route gpsbabel reads back, whatever the locale", export)

        step("File > Exit ends the program with the route window open",
             lambda: exit_without_saving(app))

    shutil.rmtree(folder, ignore_errors=True)
    return finish()


if __name__ == "__main__":
    sys.exit(main())

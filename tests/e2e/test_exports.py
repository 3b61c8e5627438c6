#!/usr/bin/python3
"""The passage plan leaving the route window, over the accessibility bus: open a data file,
compute it, open Options > Route Map, then from its File menu Print… (the preview shows and is
closed), Export PDF… (read back by pdftotext and pdfinfo), Export RTZ… (every position read
back as numbers) and Export KML… (valid against the KML 2.2 schema, read back by gpsbabel).

    /usr/bin/python3 tests/e2e/test_exports.py [PATH_TO_GYRENA]

The schema comes from scripts/schemas.sh (GYRENA_SCHEMA_DIR, default build/ci/schemas).
Prints PASS/FAIL per step and a closing line "N passed, N failed"; exits 1 when a step failed.
"""
import csv
import io
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
from gui import App, wait_until  # noqa: E402
from test_route import check, equal, exit_without_saving, finish, step  # noqa: E402

TITLE = "Route Map: San Francisco to Sydney"
DATA = ("GyrenaDataFile\r\nSan Francisco\r\nUSA\r\nSydney\r\nAustralia\r\n"
        "37\r\n45\r\nN\r\n122\r\n27\r\nW\r\n34\r\n0\r\nS\r\n151\r\n0\r\nE\r\n")
# The ends as the data file gives them, signed degrees.
ENDS = [(37.75, -122.45), (-34.0, 151.0)]
RTZ = "{http://www.cirm.org/RTZ/1/0}"


def run(*argv):
    return subprocess.run(argv, check=True, capture_output=True, text=True, timeout=60).stdout


def main():
    program = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/ci/app/gyrena")
    tools = {name: shutil.which(name) for name in ["gpsbabel", "xmllint", "pdftotext", "pdfinfo"]}
    schema = os.path.join(os.environ.get("GYRENA_SCHEMA_DIR", "build/ci/schemas"), "ogckml22.xsd")
    missing = [what for what, ok in [("the program %s" % program, os.access(program, os.X_OK)),
                                     ("the schema %s" % schema, os.path.exists(schema))]
               + [(name, path) for name, path in tools.items()] if not ok]
    if missing:
        print("FAIL  missing: %s" % ", ".join(missing))
        print("0 passed, 1 failed")
        return 1
    folder = tempfile.mkdtemp(prefix="gyrena-exports-")
    data = os.path.join(folder, "sf-sydney.gdf")
    with open(data, "w", newline="") as f:
        f.write(DATA)
    state = {}

    with App([program, data]) as app:
        def open_window():
            wait_until(lambda: app.is_enabled("Done with Inputs"), what="Done with Inputs")
            app.click("Done with Inputs")
            app.expect_dialog("Check Coordinates")
            app.answer("Yes")
            app.wait_showing(app.find("Compute Outputs", role="push button"))
            app.click("Compute Outputs")
            app.menu("Options", "Route Map")
            state["window"] = wait_until(
                lambda: next((w for w in app.windows() if w.name == TITLE and w.showing), None),
                what="the route window")
        step("a data file computed and shown in the route window", open_window)

        def export(button, suffix):
            path = os.path.join(folder, "plan." + suffix)
            app.menu("File", button + "\u2026", window=state["window"])
            app.expect_dialog(button)
            name = app.find(role="text", within=app.dialog, label="File name:")
            app.type_text(name, path, enter=True)
            wait_until(lambda: os.path.exists(path), what="the %s file" % suffix)
            return path

        def print_preview():
            app.menu("File", "Print\u2026", window=state["window"])
            app.expect_dialog("San Francisco \u2013 Sydney")
            app.key("Escape")  # to the newest dialog, the preview
            wait_until(lambda: not any(d.name == "San Francisco \u2013 Sydney" for d in app.dialogs()),
                       what="the preview closed")
        step("Print\u2026 shows the preview of the plan first", print_preview)

        def pdf():
            path = export("Export PDF", "pdf")
            info = run(tools["pdfinfo"], path)
            check("Title:           San Francisco \u2013 Sydney" in info, "pdfinfo: %s" % info)
            text = run(tools["pdftotext"], "-layout", path, "-")
            check(text.lstrip().startswith("San Francisco \u2013 Sydney"), "title: %r" % text[:100])
            check("37°45.0'N" in text and "34°00.0'S" in text and "6457.9" in text,
                  "the table's ends: %r" % text)
        step("Export PDF\u2026 writes the plan pdftotext reads back", pdf)

        def rtz():
            root = ElementTree.parse(export("Export RTZ", "rtz")).getroot()
            equal(root.tag, RTZ + "route", "root element")
            equal(root.get("version"), "1.0", "version")
            equal(root.find(RTZ + "routeInfo").get("routeName"), "San Francisco \u2013 Sydney",
                  "route name")
            points = root.findall("%swaypoints/%swaypoint" % (RTZ, RTZ))
            equal(len(points), 10, "waypoints")
            equal([p.get("id") for p in points], [str(i) for i in range(1, 11)], "ids")
            ends = [(float(p.find(RTZ + "position").get("lat")), float(p.find(RTZ + "position").get("lon")))
                    for p in (points[0], points[-1])]
            check(all(abs(a - b) < 1e-9 for e, x in zip(ends, ENDS) for a, b in zip(e, x)), "ends: %r" % ends)
            check(all(-180 <= float(p.find(RTZ + "position").get("lon")) < 180 for p in points),
                  "longitudes in [-180, 180)")
        step("Export RTZ\u2026 writes ten waypoints with their positions", rtz)

        def kml():
            path = export("Export KML", "kml")
            lint = subprocess.run([tools["xmllint"], "--noout", "--schema", schema, path],
                                  capture_output=True, text=True, timeout=60)
            check(lint.returncode == 0, "KML 2.2 schema: %s" % lint.stderr.strip())
            pins = list(csv.DictReader(io.StringIO(
                run(tools["gpsbabel"], "-i", "kml", "-f", path, "-o", "unicsv", "-F", "-"))))
            equal(len(pins), 10, "pins read back")
            equal((pins[0]["Name"], pins[-1]["Name"]), ("San Francisco", "Sydney"), "names")
            for pin, (lat, lon) in zip((pins[0], pins[-1]), ENDS):
                check(abs(float(pin["Latitude"]) - lat) < 1e-6 and abs(float(pin["Longitude"]) - lon) < 1e-6,
                      "position of %s: %r" % (pin["Name"], pin))
        step("Export KML\u2026 writes a valid document gpsbabel reads back", kml)

        step("File > Exit ends the program",
             lambda: exit_without_saving(app))

    shutil.rmtree(folder, ignore_errors=True)
    return finish()


if __name__ == "__main__":
    sys.exit(main())

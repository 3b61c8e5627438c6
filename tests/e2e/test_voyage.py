#!/usr/bin/env python3
"""The voyage planner end to end over the accessibility bus: gyrena FILE.gpx opens the route
window with the voyage; a place is typed and added, the first leg set to composite sailing,
a departure set; the voyage saved, changed, opened again as saved, and exported as GPX, which
the GPX 1.1 schema and gpsbabel accept."""

import csv
import io
import datetime
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
from test_route import check, equal, exit_without_saving, finish, step  # noqa: E402
from test_routemap import table_rows  # noqa: E402

TITLE = "Route Map: New York to Lisbon"
START = """<?xml version="1.0"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1"><rte>
<rtept lat="40.7" lon="-74"><name>New York</name></rtept>
<rtept lat="38.7" lon="-9.15"><name>Lisbon</name></rtept></rte></gpx>
"""


def main():
    program = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/ci/app/gyrena")
    gpsbabel = shutil.which("gpsbabel")
    xmllint = shutil.which("xmllint")
    schema = os.path.join(os.environ.get("GYRENA_SCHEMA_DIR", "build/ci/schemas"),
                          "Topografix_gpx11.xsd")
    missing = [what for what, ok in [("the program %s" % program, os.access(program, os.X_OK)),
                                     ("gpsbabel", gpsbabel), ("xmllint", xmllint),
                                     ("the schema %s" % schema, os.path.exists(schema))] if not ok]
    if missing:
        print("FAIL  missing: %s" % ", ".join(missing))
        print("0 passed, 1 failed")
        return 1
    folder = tempfile.mkdtemp(prefix="gyrena-voyage-")
    start = os.path.join(folder, "start.gpx")
    saved = os.path.join(folder, "saved.gpx")
    exported = os.path.join(folder, "exported.gpx")
    with open(start, "w", encoding="utf-8") as f:
        f.write(START)
    state = {}

    with App([program, start]) as app:
        def place_names():
            table = app.find("Waypoints", role="table", within=state["window"])
            return [r[1] for r in table_rows(table) if r[1]]

        def opened():
            state["window"] = wait_until(
                lambda: next((w for w in app.windows() if w.name == TITLE and w.showing), None),
                what="the route window")
            equal(place_names(), ["New York", "Lisbon"], "places from the file")
        step("gyrena FILE.gpx opens the route window with the voyage", opened)

        def land():
            w = state["window"]

            def summary():
                return app.find(role="label", description="Route summary", within=w).name
            # Long Island, Cape Cod and the land north-west of Lisbon lie on the great circle.
            wait_until(lambda: "\nLeg 1, New York \u2013 Lisbon, crosses land: " in summary(),
                       what="the summary's warning of land")
            box = app.find("Check every leg for land", role="check box", within=w)
            app.click(box)
            wait_until(lambda: "crosses land" not in summary(), what="a flight, unchecked")
            app.click(box)
            wait_until(lambda: "crosses land" in summary(), what="the warning again")
        step("the summary warns of the land on the leg; Check for land switches it off", land)

        def add_place():
            w = state["window"]
            app.activate(w)
            app.type_text(app.find("Name", role="text", within=w), "Falmouth")
            for name, text in [("Latitude degrees", "50"), ("Latitude minutes", "9"),
                               ("Longitude degrees", "5"), ("Longitude minutes", "4.2")]:
                app.type_text(app.find(name, role="text", within=w), text)
            app.choose(app.find(role="combo box", description="Longitude letter", within=w), "W")
            app.click(app.find("Add Place", role="push button", within=w))
            wait_until(lambda: place_names() == ["New York", "Falmouth", "Lisbon"],
                       what="Falmouth between New York and Lisbon")
        step("a place typed as degrees, minutes and letter is added after the selected one",
             add_place)

        def composite():
            w = state["window"]
            app.mouse_click(app.find(re.compile("^New York"), role="list item", within=w))
            app.choose(app.find(role="combo box", description="Sailing", within=w), "Composite")
            limit = app.find("Limiting latitude", within=w)
            Atspi.Value.set_current_value(limit.acc, 50.5)
            table = app.find("Waypoints", role="table", within=w)
            wait_until(lambda: any(r[2] == "50°30.0'N" and r[4] == "90.0°"
                                   for r in table_rows(table)),
                       what="a row on the limit, course 090")
            app.click(app.find("Departure (UTC)", role="check box", within=w))
            # A departure ticked on starts at the next whole hour.
            now = datetime.datetime.now(datetime.timezone.utc)
            hours = {(now + datetime.timedelta(hours=h)).strftime("%Y-%m-%dT%H:00Z")
                     for h in (1, 2)}
            wait_until(lambda: table_rows(table)[0][9] in hours, what="the ETAs")
            summary = app.find(role="label", description="Route summary", within=w)
            check("under way" in summary.name and ", arriving " in summary.name,
                  "summary: %r" % summary.name)
        step("the first leg sailed below 50°30'N, with a departure every row has its ETA",
             composite)

        def save_and_reopen():
            w = state["window"]
            app.click(app.find("Save Voyage", role="push button", within=w))
            app.expect_dialog("Save Voyage")
            app.type_text(app.find(role="text", within=app.dialog, label="File name:"), saved,
                          enter=True)
            wait_until(lambda: os.path.exists(saved), what="the voyage file")
            state["rows"] = table_rows(app.find("Waypoints", role="table", within=w))
            app.mouse_click(app.find(re.compile("^Falmouth"), role="list item", within=w))
            app.click(app.find("Remove Place", role="push button", within=w))
            wait_until(lambda: place_names() == ["New York", "Lisbon"], what="Falmouth removed")
            app.click(app.find("Open Voyage", role="push button", within=w))
            app.expect_dialog("Open Voyage")
            app.type_text(app.find(role="text", within=app.dialog, label="File name:"), saved,
                          enter=True)
            wait_until(lambda: table_rows(app.find("Waypoints", role="table", within=w))
                       == state["rows"], what="the saved voyage's rows again")
        step("Save Voyage, then Open Voyage gives back the voyage as saved", save_and_reopen)

        def export():
            w = state["window"]
            app.click(app.find("Export GPX", role="push button", within=w))
            app.expect_dialog("Export GPX")
            app.type_text(app.find(role="text", within=app.dialog, label="File name:"), exported,
                          enter=True)
            wait_until(lambda: os.path.exists(exported), what="the exported file")
            for path in (saved, exported):
                lint = subprocess.run([xmllint, "--noout", "--schema", schema, path],
                                      capture_output=True, text=True, timeout=60)
                check(lint.returncode == 0, "GPX 1.1 schema: %s" % lint.stderr.strip())
                out = subprocess.run([gpsbabel, "-r", "-i", "gpx", "-f", path, "-o", "unicsv",
                                      "-F", "-"], check=True, capture_output=True, text=True,
                                     timeout=30).stdout
                names = [p["Name"] for p in csv.DictReader(io.StringIO(out))]
                equal(len(names), len(state["rows"]), "%s: points read back" % path)
                check({"New York", "Falmouth", "Lisbon"} <= set(names), "names: %r" % names)
        step("the voyage file and the exported route are GPX 1.1 that gpsbabel follows", export)

        step("File > Exit ends the program with the route window open",
             lambda: exit_without_saving(app))

    shutil.rmtree(folder, ignore_errors=True)
    return finish()


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Routes by sea in the route window, over the accessibility bus: a voyage Europoort -
Singapore opened from the command line is set "By sea" in its Sailing list; the summary says
the routes are being found, then gives the route through Suez; "Suez Canal" ticked under
"Passages to avoid" sends it round the Cape of Good Hope, and Edit > Undo brings Suez back."""

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

TITLE = "Route Map: Europoort to Singapore"
VOYAGE = """<?xml version="1.0"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1"><rte>
<rtept lat="51.95" lon="4.05"><name>Europoort</name></rtept>
<rtept lat="1.26" lon="103.84"><name>Singapore</name></rtept></rte></gpx>
"""


def main():
    program = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/ci/app/gyrena")
    if not os.access(program, os.X_OK):
        print("FAIL  missing: the program %s" % program)
        print("0 passed, 1 failed")
        return 1
    folder = tempfile.mkdtemp(prefix="gyrena-sea-")
    path = os.path.join(folder, "voyage.gpx")
    with open(path, "w", encoding="utf-8") as f:
        f.write(VOYAGE)
    state = {}

    with App([program, path]) as app:
        def summary():
            return app.find(description="Route summary", within=state["window"]).name or ""

        def by_sea():
            state["window"] = wait_until(
                lambda: next((w for w in app.windows() if w.name == TITLE and w.showing), None),
                what="the route window")
            app.choose(app.find(role="combo box", description="Sailing", within=state["window"]),
                       "By sea")
            wait_until(lambda: "Suez Canal" in summary(), what="the route through Suez")
            check(re.search(r"by sea through .*Suez Canal", summary()), summary())
        step("By sea plans the voyage through Suez", by_sea)

        def avoid_suez():
            w = state["window"]
            check(app.find("Clearance from the coast", within=w).showing, "no clearance shown")
            app.click(app.find("Suez Canal", role="check box", within=w))
            wait_until(lambda: "Cape of Good Hope" in summary(), what="the route round the Cape")
            check("Suez Canal" not in summary(), summary())
        step("Suez avoided: round the Cape of Good Hope", avoid_suez)

        def undo():
            app.menu("Edit", re.compile("^Undo"), window=state["window"])
            wait_until(lambda: "Suez Canal" in summary(), what="Suez again")
        step("Edit > Undo takes the avoided canal back", undo)

        step("File > Exit ends the program", lambda: exit_without_saving(app))

    shutil.rmtree(folder, ignore_errors=True)
    return finish()


if __name__ == "__main__":
    sys.exit(main())

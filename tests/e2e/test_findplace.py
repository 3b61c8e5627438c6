#!/usr/bin/python3
"""Find Place end to end, over the accessibility bus: type a start, open Options > Find Place…,
type "funch", set Funchal as the end, and compute the route.

    /usr/bin/python3 tests/e2e/test_findplace.py [PATH_TO_GYRENA]

Prints PASS/FAIL per step and a closing line "N passed, N failed"; exits 1 when a step failed.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
from gui import App, wait_until  # noqa: E402
from gi.repository import Atspi  # noqa: E402  (gui has chosen its version)
from test_route import check, combo, equal, finish, step  # noqa: E402

# Funchal, 32 40 N 16 56 W, as the lists hold it; from San Francisco, 37 45 N 122 27 W.
FUNCHAL = [("End latitude degrees", "32"), ("End latitude minutes", "40"),
           ("End latitude direction", "N"), ("End longitude degrees", "16"),
           ("End longitude minutes", "56"), ("End longitude direction", "W")]
DISTANCE = "4874.11"


def first_row(table):
    acc = table.acc
    if Atspi.Table.get_n_rows(acc) == 0:
        return []
    return [Atspi.Table.get_accessible_at(acc, 0, c).get_name()
            for c in range(Atspi.Table.get_n_columns(acc))]


def main():
    program = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/ci/app/gyrena")
    if not os.access(program, os.X_OK):
        print("FAIL  no program at %s" % program)
        print("0 passed, 1 failed")
        return 1

    with App([program]) as app:
        def start():
            for description, text in [("Start latitude degrees", "37"),
                                      ("Start latitude minutes", "45"),
                                      ("Start latitude direction", "N"),
                                      ("Start longitude degrees", "122"),
                                      ("Start longitude minutes", "27"),
                                      ("Start longitude direction", "W")]:
                app.type_text(combo(app, description), text)
                app.wait_text(combo(app, description), text)
            app.type_text(combo(app, "Start location name"), "San Francisco")
        step("type the start San Francisco 37 45 N 122 27 W", start)

        def find():
            app.menu("Options", "Find Place…")
            field = app.find("Find place", role="text")
            # The window opens with the field focused: real keystrokes go straight into it.
            app.activate(field)
            wait_until(lambda: field.focused, what="the search field focused")
            app.desk.run_x("xdotool", "type", "--delay", "20", "--", "funch")
            table = app.find("Places found", role="table")
            wait_until(lambda: first_row(table)[:3] == ["Funchal", "", "Portugal"],
                       what="Funchal as the first answer")
            equal(first_row(table)[3:5], ["32°40'N", "16°56'W"], "position shown")
        step("Find Place: \"funch\" answers Funchal while typing", find)

        def set_end():
            app.click("Set as End")
            app.wait_text(combo(app, "End location name"), "Funchal")
            for description, text in FUNCHAL:
                equal(app.text(combo(app, description)), text, description)
            wait_until(lambda: app.is_enabled("Done with Inputs"), what="Done with Inputs")
        step("Set as End fills the end's name and six lists", set_end)

        def compute():
            app.click("Done with Inputs")
            app.expect_dialog("Check Coordinates")
            app.answer("Yes")
            app.wait_showing(app.find("Compute Outputs", role="push button"))
            app.click("Compute Outputs")
            distance = app.find("Great Circle Distance, nautical miles", role="text")
            app.wait_text(distance, DISTANCE)
        step("Done with Inputs, Yes, Compute Outputs: San Francisco to Funchal", compute)

    return finish()


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""Gyrena end to end, as a screen reader drives it: the real program on a private X display
with the accessibility bus, the lists found by their accessible descriptions.

    /usr/bin/python3 tests/e2e/test_route.py [PATH_TO_GYRENA]

The default program is build/ci/app/gyrena. Prints PASS/FAIL per step and a closing line
"N passed, N failed"; exits 1 when a step failed.
"""
import os
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
from gui import App, wait_until  # noqa: E402

results = []


def step(name, fn):
    t0 = time.monotonic()
    try:
        fn()
        ok, why = True, ""
    except Exception as e:  # noqa: BLE001
        ok, why = False, "%s: %s" % (type(e).__name__, e)
        if os.environ.get("GUI_VERBOSE"):
            traceback.print_exc()
    results.append(ok)
    print("%s  %-60s %6.0f ms%s" % ("PASS" if ok else "FAIL", name, (time.monotonic() - t0) * 1000,
                                     ("\n      " + why[:1500]) if why else ""), flush=True)
    return ok


def check(cond, msg):
    if not cond:
        raise AssertionError(msg)


def equal(actual, expected, what):
    check(actual == expected, "%s: expected %r, got %r" % (what, expected, actual))


def combo(app, description):
    return app.find(role="combo box", description=description)


def exit_without_saving(app):
    """File > Exit from the main window, No to saving, Yes to the confirmation; waits until the
    program has ended."""
    app.activate(app.main_window)
    app.menu("File", "Exit")
    app.expect_dialog("Save File?")
    app.answer("No")
    app.expect_dialog("Confirm Exit")
    try:
        app.answer("Yes")
    except Exception:  # noqa: BLE001
        # The box cannot be seen to close when the whole program has gone with it.
        time.sleep(0.5)
        if app.running:
            raise
    wait_until(lambda: not app.running, 10, what="the program's end")


def finish():
    """Prints the closing count line; the exit status for the run."""
    passed = sum(results)
    failed = len(results) - passed
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


# Worked route 1: San Francisco to Sydney, as the output boxes show it.
ROUTE_OUTPUTS = [
    ("N, difference of longitude, degrees", "86.55"),
    ("s, colatitude of the start, degrees", "52.25"),
    ("e, colatitude of the end, degrees", "124.00"),
    ("n, great-circle arc, degrees", "107.63"),
    ("Great Circle Distance, nautical miles", "6457.91"),
    ("Great Circle Distance, statute miles", "7426.60"),
    ("Sang, angle at the start, degrees", "119.74"),
    ("Eang, angle at the end, degrees", "55.91"),
    ("Initial Course, degrees", "240.26"),
    ("Course of Arrival, degrees", "235.91"),
    ("Direction EW", "West"),
    ("Direction NS", ""),
]


def main():
    program = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/ci/app/gyrena")
    if not os.access(program, os.X_OK):
        print("FAIL  no program at %s" % program)
        print("0 passed, 1 failed")
        return 1

    with App([program]) as app:
        def start_up():
            equal(app.main_window.name, " Gyrena", "caption")
            equal(len(app.items(combo(app, "Start latitude degrees"))), 91, "latitude entries")
            equal(len(app.items(combo(app, "End longitude degrees"))), 181, "longitude entries")
            equal(app.items(combo(app, "Start latitude direction")), ["N", "S"], "letters")
            equal(app.text(combo(app, "Start longitude minutes")), "0", "first entry shown")
            check(not app.is_enabled("Done with Inputs"), "Done with Inputs starts disabled")
            check(not app.is_showing(app.find("Compute Outputs", role="push button")),
                  "the output frame starts hidden")
        step("start-up: lists filled, first entries shown, outputs hidden", start_up)

        def pick_start():
            for description, item in [("Start latitude degrees", "37"),
                                      ("Start latitude minutes", "45"),
                                      ("Start latitude direction", "N"),
                                      ("Start longitude minutes", "27"),
                                      ("Start longitude direction", "W")]:
                app.choose(combo(app, description), item)
                equal(app.text(combo(app, description)), item, description)
            # 122 entries down is a long way by keyboard; a user types it.
            app.type_text(combo(app, "Start longitude degrees"), "122")
            app.wait_text(combo(app, "Start longitude degrees"), "122")
        step("pick and type the start 37 45 N 122 27 W", pick_start)

        def type_end():
            for description, text in [("End latitude degrees", "34"),
                                      ("End latitude minutes", "0"),
                                      ("End latitude direction", "S"),
                                      ("End longitude degrees", "151"),
                                      ("End longitude minutes", "0"),
                                      ("End longitude direction", "E")]:
                app.type_text(combo(app, description), text)
                app.wait_text(combo(app, description), text)
        step("type the end 34 0 S 151 0 E", type_end)

        def names():
            app.type_text(combo(app, "Start location name"), "San Francisco")
            check(not app.is_enabled("Done with Inputs"), "one name is not enough")
            app.type_text(combo(app, "End location name"), "Sydney")
            deadline = time.monotonic() + 5
            while not app.is_enabled("Done with Inputs") and time.monotonic() < deadline:
                time.sleep(0.05)
            check(app.is_enabled("Done with Inputs"), "two names enable Done with Inputs")
        step("typing two names enables Done with Inputs", names)

        def confirm():
            app.click("Done with Inputs")
            text, buttons = app.expect_dialog("Check Coordinates")
            equal(text, "All coordinates correct?", "question")
            equal(buttons, ["Yes", "No"], "buttons")
            app.answer("Yes")
            app.wait_showing(app.find("Compute Outputs", role="push button"))
            check(app.is_enabled("Compute Outputs"), "Compute Outputs enabled")
        step("All coordinates correct? Yes shows the outputs", confirm)

        def compute():
            app.click("Compute Outputs")
            app.wait_text(app.find(ROUTE_OUTPUTS[4][0], role="text"), ROUTE_OUTPUTS[4][1])
            shown = [(name, app.text(app.find(name, role="text"))) for name, _ in ROUTE_OUTPUTS]
            equal(shown, ROUTE_OUTPUTS, "output boxes")
        step("Compute Outputs shows route 1 box by box", compute)

        def same_location():
            app.type_text(combo(app, "End latitude degrees"), "37")
            app.type_text(combo(app, "End latitude minutes"), "45")
            app.choose(combo(app, "End latitude direction"), "N")
            app.type_text(combo(app, "End longitude degrees"), "122")
            app.type_text(combo(app, "End longitude minutes"), "27")
            app.choose(combo(app, "End longitude direction"), "W")
            app.click("Done with Inputs")
            app.expect_dialog("Check Coordinates")
            app.answer("Yes")
            text, buttons = app.expect_dialog("Error")
            equal(text, "Same Location!", "message")
            equal(buttons, ["OK"], "buttons")
            app.answer("OK")
            app.wait_showing(app.find("Compute Outputs", role="push button"), False)
        step("the same location is refused and hides the outputs", same_location)

        def clear_all():
            app.click("Clear All")
            equal(app.text(combo(app, "Start latitude degrees")), "0", "degrees reset")
            equal(app.text(combo(app, "End longitude direction")), "E", "letter reset")
            equal(app.text(combo(app, "Start location name")), "Start Location", "placeholder")
            check(not app.is_enabled("Done with Inputs"), "Done with Inputs disabled again")
        step("Clear All puts the inputs back", clear_all)

        def exit_no():
            app.click("Exit")
            text, _ = app.expect_dialog("Save File?")
            equal(text, "Save input data to file?", "first question")
            app.answer("No")
            text, _ = app.expect_dialog("Confirm Exit")
            equal(text, "Confirm exit.", "second question")
            app.answer("No")
            check(app.running, "No keeps the program running")
        step("Exit answered No, No stays", exit_no)

        def exit_yes():
            app.menu("File", "Exit")
            app.expect_dialog("Save File?")
            app.answer("No")
            app.expect_dialog("Confirm Exit")
            try:
                app.answer("Yes")
            except Exception:  # noqa: BLE001
                # The box cannot be seen to close when the whole program has gone with it.
                time.sleep(0.5)
                if app.running:
                    raise
            deadline = time.monotonic() + 10
            while app.running and time.monotonic() < deadline:
                time.sleep(0.05)
            check(not app.running, "the program ended")
            equal(app.proc.returncode, 0, "exit status")
        step("File > Exit answered No, Yes ends the program", exit_yes)

    return finish()


if __name__ == "__main__":
    sys.exit(main())

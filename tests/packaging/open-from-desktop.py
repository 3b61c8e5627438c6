#!/usr/bin/python3
"""Opens a data file as a file manager's double-click does and checks that the program shows it.

    open-from-desktop.py PROGRAM FILE.gdf

Runs `gio open FILE.gdf` on a private X display with the accessibility bus (tests/e2e/gui.py):
GIO picks the default application of the file's MIME type from the desktop entries and MIME
types on XDG_DATA_DIRS and starts it. The window that appears must belong to PROGRAM, name the
file in its title, show the file's route in its lists and no message box. The program is
ended afterwards; every wait is bounded.

The program outlives `gio open`, so gio runs under this script in its --adopt mode, which makes
itself the subreaper of what gio starts: the started program stays its descendant, where the
harness looks for it, and is ended with it.
"""
import ctypes
import os
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True

PR_SET_CHILD_SUBREAPER = 36

# The route of the stage's sf-sydney.gdf, as the lists show it.
EXPECTED = [
    ("Start location name", "San Francisco"),
    ("End location name", "Sydney"),
    ("Start latitude degrees", "37"),
    ("Start longitude degrees", "122"),
    ("End latitude direction", "S"),
    ("End longitude degrees", "151"),
]


def adopted():
    """The process ids of this process's children."""
    pids = []
    for task in os.listdir("/proc/self/task"):
        with open("/proc/self/task/%s/children" % task) as f:
            pids += [int(p) for p in f.read().split()]
    return pids


def adopt(command):
    """Runs the command; waits for it and everything it started; on SIGTERM, ends them."""
    if ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        sys.exit("open-from-desktop.py: cannot become a subreaper")

    def end(*_):
        deadline = time.monotonic() + 5
        for sig in (signal.SIGTERM, signal.SIGKILL):
            for pid in adopted():
                try:
                    os.kill(pid, sig)
                except ProcessLookupError:
                    pass
            while adopted() and time.monotonic() < deadline:
                time.sleep(0.05)
        os._exit(0)

    signal.signal(signal.SIGTERM, end)
    status = subprocess.run(command, timeout=20).returncode
    if status != 0:
        sys.exit("open-from-desktop.py: %s ended with status %d" % (" ".join(command), status))
    while True:
        try:
            os.wait()
        except ChildProcessError:
            return 0


def main():
    if len(sys.argv) > 2 and sys.argv[1] == "--adopt":
        return adopt(sys.argv[2:])
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    program, path = os.path.realpath(sys.argv[1]), os.path.abspath(sys.argv[2])
    sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
    from gui import App  # noqa: E402

    failures = []
    with App([sys.executable, os.path.abspath(__file__), "--adopt", "gio", "open", path]) as app:
        started = os.path.realpath("/proc/%d/exe" % app.acc.get_process_id())
        if started != program:
            failures.append("the window belongs to %s, not %s" % (started, program))
        # The file is read once the window shows: wait for its route, ten seconds in all.
        deadline = time.monotonic() + 10
        for description, text in EXPECTED:
            combo = app.find(role="combo box", description=description)
            try:
                app.wait_text(combo, text, timeout=max(0.2, deadline - time.monotonic()))
            except Exception:  # noqa: BLE001 - the harness's timeout
                failures.append("%s shows %r, not %r" % (description, app.text(combo), text))
        print("started %s, window '%s'" % (started, app.main_window.name))
        if path not in app.main_window.name:
            failures.append("the title '%s' does not name %s" % (app.main_window.name, path))
        for dialog in app.dialogs():
            failures.append("a box is open: '%s' %s" % (dialog.name, app.dialog_text(dialog)))
    for failure in failures:
        print("FAIL: " + failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

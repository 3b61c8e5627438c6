#!/usr/bin/env python3
"""Start-up time and peak memory of Gyrena's main window beside a bare Qt window.

Runs startup_gyrena and the bare windows (startup_bare: the same number of plain widgets, and
with --kinds the same kinds of Qt controls) alternately, N times each, offscreen and under Xvfb,
and prints the median and the spread (min..max and the interquartile range) of every figure.

    python3 bench/startup/run_startup.py [--build build-perf] [--runs 21] [--list 32767]
                                         [--platforms offscreen,xcb]
                                         [--baseline-rev REV | --baseline-build DIR] [--fifo]

With --baseline-rev, the main window as it was at commit REV is measured in the same run,
alternating with the others: the sources of REV are exported (git archive) to a temporary
folder, built there with this build's CMAKE_BUILD_TYPE, and its startup_gyrena joins the
programs. Each commit's startup_gyrena starts the window as that commit's program does, so the
ratio shows what the commits between cost the start-up. --baseline-build reuses such a build.

With --fifo (root or CAP_SYS_NICE), the runner, Xvfb and every started program run under the
real-time policy SCHED_FIFO, so that other work on the machine (a build at a low priority)
cannot take the processor between a program and the X server in the middle of a start: under
Xvfb that is what makes a loaded machine's wall times wander, by a tenth between two starts of
one program. The kernel still leaves other processes 5% of each second.

The time is from a CLOCK_MONOTONIC stamp taken right before the process is spawned to the end
of the window's first complete paint; the memory is VmHWM (peak resident set) at that moment,
and for Gyrena also after loading a generated city list of --list cities and its next paint.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def parse(line):
    values = {}
    for item in line.split():
        key, _, value = item.partition("=")
        try:
            values[key] = float(value)
        except ValueError:
            pass
    return values


def run(cmd, env):
    t0 = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
    out = subprocess.run(cmd + [f"--t0={t0}"], env=env, capture_output=True, text=True,
                         timeout=120)
    if out.returncode != 0:
        sys.exit(f"{' '.join(cmd)} failed ({out.returncode}):\n{out.stderr}")
    lines = [l for l in out.stdout.splitlines() if "first_frame_ms=" in l]
    if not lines:
        sys.exit(f"{' '.join(cmd)} printed no figures:\n{out.stdout}\n{out.stderr}")
    return parse(lines[-1])


def spread(values):
    values = sorted(values)
    if len(values) >= 4:
        q = statistics.quantiles(values, n=4)
        iqr = f"IQR {q[0]:.1f}..{q[2]:.1f}"
    else:
        iqr = ""
    return (f"median {statistics.median(values):8.1f}  min {values[0]:8.1f}  "
            f"max {values[-1]:8.1f}  {iqr}")


def start_xvfb():
    for display in range(91, 140):
        if os.path.exists(f"/tmp/.X11-unix/X{display}") or os.path.exists(f"/tmp/.X{display}-lock"):
            continue
        proc = subprocess.Popen(["Xvfb", f":{display}", "-screen", "0", "1280x1024x24",
                                 "-dpi", "96", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{display}"):
                return proc, f":{display}"
            if proc.poll() is not None:
                break
            time.sleep(0.05)
        proc.kill()
    sys.exit("could not start Xvfb")


def cache_value(build, key):
    with open(os.path.join(build, "CMakeCache.txt")) as cache:
        for line in cache:
            if line.startswith(key + ":"):
                return line.split("=", 1)[1].strip()
    return ""


def build_baseline(rev, build, workdir):
    """Builds startup_gyrena from the sources of commit rev; returns the program's path."""
    source = os.path.join(workdir, "src")
    os.makedirs(source)
    repo = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    archive = subprocess.run(["git", "-C", repo, "archive", "--format=tar", rev],
                             capture_output=True, check=True).stdout
    subprocess.run(["tar", "-x", "-C", source], input=archive, check=True)
    out = os.path.join(workdir, "build")
    build_type = cache_value(build, "CMAKE_BUILD_TYPE") or "RelWithDebInfo"
    subprocess.run(["cmake", "-S", source, "-B", out, "-G", "Ninja",
                    f"-DCMAKE_BUILD_TYPE={build_type}", "-DGYRENA_BUILD_BENCH=ON",
                    "-DGYRENA_BUILD_TESTS=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", out, "-j2", "--target", "startup_gyrena"], check=True,
                   stdout=subprocess.DEVNULL)
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-perf")
    parser.add_argument("--runs", type=int, default=21)
    parser.add_argument("--list", type=int, default=32767)
    parser.add_argument("--platforms", default="offscreen,xcb")
    baseline = parser.add_mutually_exclusive_group()
    baseline.add_argument("--baseline-rev", help="commit whose main window is measured beside")
    baseline.add_argument("--baseline-build", help="a build of that commit made before")
    parser.add_argument("--fifo", action="store_true",
                        help="run Xvfb and the programs under SCHED_FIFO (see above)")
    args = parser.parse_args()

    gyrena = [os.path.join(args.build, "bench/startup/startup_gyrena")]
    bare = [os.path.join(args.build, "bench/startup/startup_bare")]
    base_env = dict(os.environ, LC_ALL="C.UTF-8")
    base_env.pop("QT_QPA_PLATFORM", None)

    census_env = dict(base_env, QT_QPA_PLATFORM="offscreen")
    census = subprocess.run(gyrena + ["--census"], env=census_env, capture_output=True,
                            text=True, check=True).stdout.strip().splitlines()[-1]
    print(f"main window widgets: {census}")

    list_dir = tempfile.mkdtemp(prefix="gyrena-startup-")
    baseline_build = args.baseline_build
    if args.baseline_rev:
        print(f"building the baseline at {args.baseline_rev} ...", flush=True)
        baseline_build = build_baseline(args.baseline_rev, args.build, list_dir)
    with_list = []
    if args.list > 0:
        list_file = os.path.join(list_dir, "cities.gcl")
        subprocess.run(gyrena + [f"--write-list={args.list}", list_file], env=census_env,
                       check=True)
        print(f"city list: {args.list} cities, {os.path.getsize(list_file)} bytes")
        with_list = [f"--list={list_file}"]

    programs = [
        ("gyrena", gyrena + with_list),
        ("bare (plain widgets)", bare + [f"--census={census}"]),
        ("bare (same kinds)", bare + [f"--census={census}", "--kinds"]),
    ]
    if baseline_build:
        label = f"gyrena at {args.baseline_rev}" if args.baseline_rev else "gyrena (baseline)"
        programs.insert(1, (label, [os.path.join(baseline_build, "bench/startup/startup_gyrena")]
                            + with_list))

    if args.fifo:
        # Inherited by every process started from here on (not by the baseline's build above).
        os.sched_setscheduler(0, os.SCHED_FIFO, os.sched_param(5))
    xvfb = None
    try:
        for platform in args.platforms.split(","):
            env = dict(base_env, QT_QPA_PLATFORM=platform)
            if platform == "xcb":
                if not shutil.which("Xvfb"):
                    print("xcb: Xvfb is not installed, skipped")
                    continue
                xvfb, display = start_xvfb()
                env["DISPLAY"] = display
            results = {name: [] for name, _ in programs}
            for name, cmd in programs:  # warm the file cache, not counted
                run(cmd, env)
            for _ in range(args.runs):
                for name, cmd in programs:
                    results[name].append(run(cmd, env))
            print(f"\n== {platform}: {args.runs} runs each, alternating ==")
            figures = [("first_frame_ms", "first frame, ms"), ("main_ms", "to main(), ms"),
                       ("hwm_kib", "peak RSS, KiB"), ("list_hwm_kib", "peak RSS with list, KiB"),
                       ("list_load_ms", "list load to next frame, ms")]
            for key, label in figures:
                for name, _ in programs:
                    values = [r[key] for r in results[name] if key in r]
                    if values:
                        print(f"{label:28s} {name:22s} {spread(values)}")
            g = statistics.median(r["first_frame_ms"] for r in results["gyrena"])
            g_mem = statistics.median(r["hwm_kib"] for r in results["gyrena"])
            for name, _ in programs[1:]:
                if name.startswith("gyrena"):
                    b = statistics.median(r["first_frame_ms"] for r in results[name])
                    b_mem = statistics.median(r["hwm_kib"] for r in results[name])
                    print(f"ratio gyrena / {name}: time {g / b:.3f} (goal <= 1.02), "
                          f"peak RSS {g_mem / b_mem:.3f}")
                    continue
                b = statistics.median(r["first_frame_ms"] for r in results[name])
                b_mem = statistics.median(r["hwm_kib"] for r in results[name])
                print(f"ratio gyrena / {name}: time {g / b:.3f}, peak RSS {g_mem / b_mem:.3f}")
            lists = [r["list_hwm_kib"] for r in results["gyrena"] if "list_hwm_kib" in r]
            if lists:
                print(f"peak RSS with {args.list} cities: "
                      f"{statistics.median(lists) / 1024:.1f} MiB (goal <= 40 MiB)")
            if xvfb:
                xvfb.terminate()
                xvfb.wait()
                xvfb = None
    finally:
        shutil.rmtree(list_dir, ignore_errors=True)
        if xvfb:
            xvfb.terminate()
            xvfb.wait()


if __name__ == "__main__":
    main()

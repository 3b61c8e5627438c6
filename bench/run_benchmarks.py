#!/usr/bin/env python3
"""Runs every Google Benchmark program of a build and prints, for each benchmark, the median and
the spread (min..max) of its repetitions, in wall time and in CPU time, with its counters.

    python3 bench/run_benchmarks.py [--build build-perf] [--repetitions 9] [--filter REGEX]

The machine is shared and noisy: the CPU time of the benchmark's own thread is the steadier
figure; a wall time far above it means the process waited (for the disk, or for a core).
"""

import argparse
import glob
import json
import os
import statistics
import subprocess
import sys
import tempfile


def fmt(ns):
    if ns >= 1e6:
        return f"{ns / 1e6:.3g} ms"
    if ns >= 1e3:
        return f"{ns / 1e3:.3g} us"
    return f"{ns:.3g} ns"


SCALE = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-perf")
    parser.add_argument("--repetitions", type=int, default=9)
    parser.add_argument("--filter", default="")
    args = parser.parse_args()

    programs = sorted(p for p in glob.glob(os.path.join(args.build, "bench", "bench_*"))
                      if os.access(p, os.X_OK) and os.path.isfile(p))
    if not programs:
        sys.exit(f"no bench_* programs in {args.build}/bench")
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    env.setdefault("LC_ALL", "C.UTF-8")
    for program in programs:
        with tempfile.NamedTemporaryFile(suffix=".json") as result:
            cmd = [program, f"--benchmark_repetitions={args.repetitions}",
                   f"--benchmark_out={result.name}", "--benchmark_out_format=json"]
            if args.filter:
                cmd.append(f"--benchmark_filter={args.filter}")
            out = subprocess.run(cmd, env=env, capture_output=True, text=True)
            if out.returncode != 0:
                sys.exit(f"{program} failed ({out.returncode}):\n{out.stderr[-2000:]}")
            text = open(result.name).read()
        if not text.strip():
            continue
        report = json.loads(text)
        runs = {}
        for b in report["benchmarks"]:
            if b.get("run_type") != "iteration":
                continue
            if b.get("error_occurred"):
                sys.exit(f"{program}: {b['name']}: {b.get('error_message')}")
            runs.setdefault(b["run_name"], []).append(b)
        print(f"== {os.path.basename(program)} ({args.repetitions} repetitions; "
              f"median [min..max])")
        for name, reps in runs.items():
            unit = SCALE[reps[0].get("time_unit", "ns")]
            line = f"  {name:44s}"
            for key in ("real_time", "cpu_time"):
                values = sorted(r[key] * unit for r in reps)
                line += (f"  {key.split('_')[0]} {fmt(statistics.median(values)):>9s} "
                         f"[{fmt(values[0])}..{fmt(values[-1])}]")
            counters = {k: v for k, v in reps[0].items() if k in ("per_route",)}
            for key in counters:
                values = sorted(r[key] for r in reps)
                # per_route is an inverted rate: seconds per route.
                line += (f"  {key} {fmt(statistics.median(values) * 1e9)} "
                         f"[{fmt(values[0] * 1e9)}..{fmt(values[-1] * 1e9)}]")
            label = reps[0].get("label")
            if label:
                line += f"  ({label})"
            print(line)
        sys.stdout.flush()


if __name__ == "__main__":
    main()

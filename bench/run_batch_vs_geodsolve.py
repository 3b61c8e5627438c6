#!/usr/bin/env python3
"""Throughput of `gyrena-route --batch` against GeographicLib's `GeodSolve -i -e 1 0` (the same
sphere) on the same routes, both as whole processes, side by side in one run.

    python3 bench/run_batch_vs_geodsolve.py [--build build-perf] [--routes 1000000] [--runs 5]

The routes are random (seeded), with whole minutes; gyrena-route reads them as its twelve texts,
GeodSolve as decimal degrees. Each run pipes the input file into the program and its output to
/dev/null; the runs alternate between the two programs so that a busy moment of the shared
machine falls on both. Prints the median and min..max wall time of each, the throughput, and
the ratio. Goal: gyrena-route at least 3 x GeodSolve's throughput.
"""

import argparse
import os
import random
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def write_inputs(folder, count, seed):
    rnd = random.Random(seed)
    ours = os.path.join(folder, "routes.txt")
    theirs = os.path.join(folder, "routes-decimal.txt")
    with open(ours, "w") as a, open(theirs, "w") as b:
        for _ in range(count):
            p = []
            for limit in (89, 179, 89, 179):
                p.append((rnd.randint(0, limit), rnd.randint(0, 59), rnd.random() < 0.5))
            (la1, lo1, la2, lo2) = p
            a.write(f"{la1[0]} {la1[1]} {'N' if la1[2] else 'S'} {lo1[0]} {lo1[1]} {'E' if lo1[2] else 'W'} "
                    f"{la2[0]} {la2[1]} {'N' if la2[2] else 'S'} {lo2[0]} {lo2[1]} {'E' if lo2[2] else 'W'}\n")
            dec = [(d + m / 60.0) * (1 if pos else -1) for d, m, pos in p]
            b.write(" ".join(repr(x) for x in dec) + "\n")
    return ours, theirs


def timed(cmd, input_path):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    with open(input_path, "rb") as stdin, open(os.devnull, "wb") as stdout:
        status = subprocess.run(cmd, stdin=stdin, stdout=stdout, stderr=subprocess.DEVNULL).returncode
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return status, wall, cpu


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-perf")
    parser.add_argument("--routes", type=int, default=1_000_000)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()

    tool = os.path.join(args.build, "tools", "gyrena-route")
    geodsolve = shutil.which("GeodSolve")
    if not os.access(tool, os.X_OK):
        sys.exit(f"no {tool}: build it first")
    if not geodsolve:
        sys.exit("GeodSolve is missing: bash scripts/deps.sh bench installs geographiclib-tools")

    with tempfile.TemporaryDirectory(prefix="gyrena-batch-") as folder:
        ours, theirs = write_inputs(folder, args.routes, 12)
        programs = {"gyrena-route --batch": ([tool, "--batch"], ours),
                    "GeodSolve -i -e 1 0": ([geodsolve, "-i", "-e", "1", "0"], theirs)}
        walls = {name: [] for name in programs}
        cpus = {name: [] for name in programs}
        for _ in range(args.runs):
            for name, (cmd, path) in programs.items():
                status, wall, cpu = timed(cmd, path)
                # Random routes include a few same locations, which gyrena-route reports (status 1).
                if status not in (0, 1):
                    sys.exit(f"{name} failed with status {status}")
                walls[name].append(wall)
                cpus[name].append(cpu)
        print(f"{args.routes} routes, {args.runs} runs each, alternating")
        medians = {}
        for name in programs:
            w, c = walls[name], cpus[name]
            medians[name] = statistics.median(w)
            print(f"{name:22} wall {statistics.median(w):.3f} s [{min(w):.3f}..{max(w):.3f}], "
                  f"CPU {statistics.median(c):.3f} s, "
                  f"{args.routes / statistics.median(w) / 1e6:.3f} million routes/s")
        ratio = medians["GeodSolve -i -e 1 0"] / medians["gyrena-route --batch"]
        print(f"throughput ratio: {ratio:.2f} x (goal >= 3 x): {'met' if ratio >= 3 else 'NOT met'}")


if __name__ == "__main__":
    main()

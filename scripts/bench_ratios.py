#!/usr/bin/env python3
"""Prints each of our benchmarks' time over its peer's, from Google Benchmark JSON files.

    scripts/bench_ratios.py FILE.json...

Peers are found by name: "XOpenSubdiv/N" is set beside our core's "XCore/N" (the same work,
from the faces to the level's positions), "XCgal/N" beside our "X/N". The median of the
repetitions is used when the file has one, else the mean of the runs; the ratio is given by
wall time and by the CPU time of the timed thread, the steadier of the two on a busy machine
(the benchmarks run on one thread). Below 1: ours is faster.
"""
import json
import statistics
import sys


def times(path):
    """(wall, CPU) milliseconds per benchmark name; medians where the file holds them."""
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    medians, plain = {}, {}
    for run in runs:
        if run.get("error_occurred"):
            continue
        name = run.get("run_name", run["name"])
        pair = (run["real_time"], run["cpu_time"])
        if run.get("run_type") == "aggregate":
            if run.get("aggregate_name") == "median":
                medians[name] = pair
        else:
            plain.setdefault(name, []).append(pair)
    result = {
        name: tuple(statistics.mean(p[i] for p in pairs) for i in range(2))
        for name, pairs in plain.items()
    }
    result.update(medians)
    return result


def peer_of(name):
    """Our benchmark's name for a peer's, or None when `name` is ours."""
    base, _, arg = name.partition("/")
    if base.endswith("OpenSubdiv"):
        return base[: -len("OpenSubdiv")] + "Core/" + arg
    if base.endswith("Cgal"):
        return base[: -len("Cgal")] + "/" + arg
    return None


def main(paths):
    print(f"{'ours':28} / {'peer':32} {'wall':>6} {'CPU':>6}   (wall ms: ours / peer)")
    for path in paths:
        measured = times(path)
        for theirs, (their_wall, their_cpu) in measured.items():
            ours = peer_of(theirs)
            if ours is None or ours not in measured or their_wall <= 0 or their_cpu <= 0:
                continue
            our_wall, our_cpu = measured[ours]
            print(f"{ours:28} / {theirs:32} {our_wall / their_wall:6.2f} {our_cpu / their_cpu:6.2f}"
                  f"   ({our_wall:.1f} / {their_wall:.1f})")


if __name__ == "__main__":
    main(sys.argv[1:])

#!/usr/bin/env python3
"""Runs the peer, alternate and per-slot benchmarks of d3dx_bench in one
process and prints three markdown tables.

Every figure is the median CPU time per call over the repetitions; the spread
column is (slowest - fastest) / median of the library's "now" figure.

1. Operation by implementation: the public entry with this machine's default
   set (SSE2) beside GLM and Eigen. For the operations that set leaves to the
   x87 forms, "before" is the same public entry with the earlier long-double
   forms installed; the ratios are to the faster of GLM and Eigen.
2. The x87 alternates of slots 0-7 beside the plain x87 forms and the earlier
   long-double alternates (direct calls).
3. Every slot of the SSE2 set: its public entry against the x87 form called
   directly, and the median speed-up over those slots.

usage: peers_table.py path/to/d3dx_bench [--min-time 0.1] [--repetitions 9]
"""
import argparse
import json
import re
import statistics
import subprocess
import sys
from pathlib import Path

PEERS = ("glm", "eigen")
SSE2_SET_SOURCE = Path(__file__).resolve().parents[2] / "math/src/sse/sse2_set.cpp"


def run(bench, pattern, min_time, repetitions):
    out = subprocess.run(
        [bench, f"--benchmark_filter={pattern}", f"--benchmark_min_time={min_time}",
         f"--benchmark_repetitions={repetitions}", "--benchmark_format=json"],
        check=True, capture_output=True, text=True).stdout
    runs = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") == "aggregate" or b.get("error_occurred"):
            continue
        runs.setdefault(b.get("run_name", b["name"]), []).append(b["cpu_time"])
    return runs


def median(runs, name):
    return statistics.median(runs[name]) if name in runs else None


def spread(runs, name):
    values = runs[name]
    return (max(values) - min(values)) / statistics.median(values)


def ns(value, digits=1):
    return "-" if value is None else f"{value:.{digits}f}"


def ratio(value, to):
    return "-" if value is None or to is None else f"{value / to:.2f}x"


def operations(runs, group):
    seen = []
    for name in runs:
        parts = name.split("/")
        if parts[0] == group and parts[1] not in seen:
            seen.append(parts[1])
    return seen


def peer_table(runs):
    print("| operation | before (ns) | now (ns) | GLM (ns) | Eigen (ns) "
          "| before / faster peer | now / faster peer | spread of now |")
    print("|---|---|---|---|---|---|---|---|")
    for op in operations(runs, "peers"):
        get = lambda who: median(runs, f"peers/{op}/{who}")
        peers = [get(p) for p in PEERS if get(p) is not None]
        fastest = min(peers) if peers else None
        print(f"| {op} | {ns(get('d3dx_long_double'))} | {ns(get('d3dx'))} | {ns(get('glm'))} "
              f"| {ns(get('eigen'))} | {ratio(get('d3dx_long_double'), fastest)} "
              f"| {ratio(get('d3dx'), fastest)} | {spread(runs, f'peers/{op}/d3dx'):.0%} |")


def alternates_table(runs):
    print("\n| x87 alternate | plain (ns) | alternate before (ns) | alternate now (ns) "
          "| now / plain | spread of now |")
    print("|---|---|---|---|---|---|")
    for op in operations(runs, "alternates"):
        get = lambda who: median(runs, f"alternates/{op}/{who}")
        print(f"| {op} | {ns(get('plain'))} | {ns(get('alternate_long_double'))} "
              f"| {ns(get('alternate'))} | {ratio(get('alternate'), get('plain'))} "
              f"| {spread(runs, f'alternates/{op}/alternate'):.0%} |")


def sse2_slots():
    return re.findall(r"D3DX_(?:SSE2|SHARED)_ENTRY\((\w+)\),", SSE2_SET_SOURCE.read_text())


def slot_table(runs):
    slots = [s for s in sse2_slots() if f"public/sse2/{s}" in runs]
    if not slots:
        return
    print("\n| SSE2 slot | x87 reference (ns) | SSE2 public entry (ns) | speed-up |")
    print("|---|---|---|---|")
    ups = []
    for slot in slots:
        ref, mine = median(runs, f"x87ref/{slot}"), median(runs, f"public/sse2/{slot}")
        ups.append(ref / mine)
        print(f"| {slot} | {ref:.2f} | {mine:.2f} | {ref / mine:.1f}x |")
    slower = sum(1 for u in ups if u < 1.0)
    print(f"\n{len(ups)} slots, median speed-up {statistics.median(ups):.2f}x, "
          f"{slower} slower than x87")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("bench")
    ap.add_argument("--min-time", default="0.1")
    ap.add_argument("--repetitions", default="9")
    ap.add_argument("--no-slots", action="store_true", help="skip the per-slot SSE2 table")
    a = ap.parse_args()
    pattern = "^(peers/|alternates/)" if a.no_slots else "^(peers/|alternates/|x87ref/|public/sse2/)"
    runs = run(a.bench, pattern, a.min_time, a.repetitions)
    peer_table(runs)
    alternates_table(runs)
    slot_table(runs)
    return 0


if __name__ == "__main__":
    sys.exit(main())

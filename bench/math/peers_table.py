#!/usr/bin/env python3
"""Runs the peer, alternate and per-slot benchmarks of d3dx_bench in one
process and prints three markdown tables.

Every figure is the median CPU time per call over the repetitions; the spread
column is (slowest - fastest) / median of the library's figure.

1. Operation by implementation: the public entry with this machine's default
   set (SSE2) beside GLM and Eigen; the ratio is to the faster of the two.
2. The x87 alternates of slots 0-7 beside the plain x87 forms (direct calls).
3. Every slot of the SSE2 set: its public entry against the x87 form called
   directly, and the median speed-up over those slots.

It says on standard error how many benchmarks it runs and about how long
they take (with the defaults, about 6 minutes; 2 without the per-slot table).

usage: peers_table.py path/to/d3dx_bench [--min-time 0.1] [--repetitions 9]
"""
import argparse
import json
import re
import statistics
import subprocess
import sys
import time
from pathlib import Path

PEERS = ("glm", "eigen")
SIMD_VARIANTS = Path(__file__).resolve().parents[2] / "math/src/sse/simd_variants.def"


def say(text):
    print(text, file=sys.stderr, flush=True)


def benchmark_names(bench, pattern):
    listed = subprocess.run([bench, f"--benchmark_filter={pattern}", "--benchmark_list_tests"],
                            check=True, capture_output=True, text=True).stdout
    return listed.split()


def run(bench, pattern, min_time, repetitions):
    count = len(benchmark_names(bench, pattern))
    # Each repetition runs for at least min_time, and most take about twice
    # that once the iteration count is settled.
    estimate = count * int(repetitions) * float(min_time) * 2
    say(f"running {count} benchmarks, {repetitions} repetitions of at least {min_time} s "
        f"each: about {estimate / 60:.0f} minutes")
    start = time.monotonic()
    out = subprocess.run(
        [bench, f"--benchmark_filter={pattern}", f"--benchmark_min_time={min_time}",
         f"--benchmark_repetitions={repetitions}", "--benchmark_format=json"],
        check=True, capture_output=True, text=True).stdout
    say(f"done in {(time.monotonic() - start) / 60:.1f} minutes")
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
    print("| operation | d3dx (ns) | GLM (ns) | Eigen (ns) | d3dx / faster peer | spread of d3dx |")
    print("|---|---|---|---|---|---|")
    for op in operations(runs, "peers"):
        get = lambda who: median(runs, f"peers/{op}/{who}")
        peers = [get(p) for p in PEERS if get(p) is not None]
        fastest = min(peers) if peers else None
        print(f"| {op} | {ns(get('d3dx'))} | {ns(get('glm'))} | {ns(get('eigen'))} "
              f"| {ratio(get('d3dx'), fastest)} | {spread(runs, f'peers/{op}/d3dx'):.0%} |")


def alternates_table(runs):
    print("\n| x87 alternate | plain (ns) | alternate (ns) | alternate / plain | spread of alternate |")
    print("|---|---|---|---|---|")
    for op in operations(runs, "alternates"):
        get = lambda who: median(runs, f"alternates/{op}/{who}")
        print(f"| {op} | {ns(get('plain'))} | {ns(get('alternate'))} "
              f"| {ratio(get('alternate'), get('plain'))} "
              f"| {spread(runs, f'alternates/{op}/alternate'):.0%} |")


def sse2_slots():
    """The slots the SSE2 set fills: its column of the variant list is not x87."""
    return re.findall(r"^D3DX_SIMD_SLOT\((\w+), \w+, (?:own|sse)\b", SIMD_VARIANTS.read_text(),
                      re.MULTILINE)


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

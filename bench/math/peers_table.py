#!/usr/bin/env python3
"""Runs the peer and per-slot benchmarks of d3dx_bench and prints two tables.

1. Operation by implementation (the SSE2 set through the public entry, the
   x87 reference, GLM, Eigen): ns per call (CPU time, median of the
   repetitions), the ratio to the faster peer and the speed-up over x87.
2. Every slot of the SSE2 set: its public entry against the x87 reference
   called directly, and the median speed-up over those slots.

usage: peers_table.py path/to/d3dx_bench [--min-time 0.05] [--repetitions 3]
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
    times = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        name = b.get("run_name", b["name"])
        times.setdefault(name, []).append(b["cpu_time"])
    return {name: statistics.median(v) for name, v in times.items()}


def sse2_slots():
    return re.findall(r"D3DX_(?:SSE2|SHARED)_ENTRY\((\w+)\),", SSE2_SET_SOURCE.read_text())


def peer_table(t):
    print("| operation | SSE2 (ns) | x87 (ns) | GLM (ns) | Eigen (ns) | SSE2 / faster peer | speed-up over x87 |")
    print("|---|---|---|---|---|---|---|")
    ops = sorted({n.split("/")[1] for n in t if n.startswith("peers/")},
                 key=lambda op: list(t).index(f"peers/{op}/d3dx_sse2"))
    for op in ops:
        get = lambda who: t[f"peers/{op}/{who}"]
        fastest = min(get(p) for p in PEERS)
        print(f"| {op} | {get('d3dx_sse2'):.2f} | {get('x87'):.1f} | {get('glm'):.2f} | {get('eigen'):.2f} "
              f"| {get('d3dx_sse2') / fastest:.2f}x | {get('x87') / get('d3dx_sse2'):.1f}x |")


def slot_table(t):
    print("\n| SSE2 slot | x87 reference (ns) | SSE2 public entry (ns) | speed-up |")
    print("|---|---|---|---|")
    ups = []
    for slot in sse2_slots():
        ref, mine = t[f"x87ref/{slot}"], t[f"public/sse2/{slot}"]
        ups.append(ref / mine)
        print(f"| {slot} | {ref:.2f} | {mine:.2f} | {ref / mine:.1f}x |")
    slower = sum(1 for u in ups if u < 1.0)
    print(f"\n{len(ups)} slots, median speed-up {statistics.median(ups):.2f}x, {slower} slower than x87")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("bench")
    ap.add_argument("--min-time", default="0.05")
    ap.add_argument("--repetitions", default="3")
    a = ap.parse_args()
    t = run(a.bench, "^(peers/|x87ref/|public/sse2/)", a.min_time, a.repetitions)
    peer_table(t)
    slot_table(t)
    return 0


if __name__ == "__main__":
    sys.exit(main())

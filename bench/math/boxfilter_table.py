#!/usr/bin/env python3
"""Runs the box filter benchmarks of d3dx_bench and prints the table of
docs/math-boxfilter.md.

Every routine, libyuv's box scaler and memcpy run side by side in one
process, each repeated with the repetitions in random order (so that a
change in the machine's load spreads over all of them); the table gives GB/s of source bytes (CPU time) as
the median of the repetitions with the lowest and highest run, the largest
channel difference from the exact average, and the median's ratio to
libyuv at each size.

usage: boxfilter_table.py path/to/d3dx_bench [--min-time 0.1] [--repetitions 9]
"""
import argparse
import json
import statistics
import subprocess

SIZES = ("512", "4096")
ROWS = (
    ("DefaultBinding", "default binding (`BoxDownsample*Entry`)"),
    ("Avx2", "`BoxDownsampleAvx2`"),
    ("Sse2", "`BoxDownsampleSse2`"),
    ("Mmx", "`BoxDownsampleMmx`"),
    ("Argb", "`BoxDownsampleArgb`"),
    ("Xrgb", "`BoxDownsampleXrgb`"),
    ("PlainPerChannel", "plain per-channel loop"),
    ("LibyuvARGBScaleBox", "libyuv `ARGBScale` box, half size"),
    ("memcpy", "`memcpy` of the source"),
)
PEER = "LibyuvARGBScaleBox"
GIGA = 1e9


def run(bench, min_time, repetitions):
    out = subprocess.run(
        [bench, "--benchmark_filter=^boxfilter/", f"--benchmark_min_time={min_time}",
         f"--benchmark_repetitions={repetitions}", "--benchmark_enable_random_interleaving=true",
         "--benchmark_format=json"],
        check=True, capture_output=True, text=True).stdout
    runs, maxdiff, labels = {}, {}, {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        _, name, size = b["run_name"].split("/")
        runs.setdefault((name, size), []).append(b["bytes_per_second"] / GIGA)
        if "maxdiff" in b:
            maxdiff[name] = max(maxdiff.get(name, 0), int(b["maxdiff"]))
        if b.get("label"):
            labels[name] = b["label"]
    return runs, maxdiff, labels


def cell(values):
    return f"{statistics.median(values):.1f} ({min(values):.1f}-{max(values):.1f})"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bench")
    parser.add_argument("--min-time", default="0.1")
    parser.add_argument("--repetitions", type=int, default=9)
    args = parser.parse_args()
    runs, maxdiff, labels = run(args.bench, args.min_time, args.repetitions)
    header = ["routine"] + [f"{s}x{s} GB/s" for s in SIZES] + [f"/ libyuv {s}" for s in SIZES]
    print("| " + " | ".join(header + ["maxdiff"]) + " |")
    print("|" + "---|" * (len(header) + 1))
    for name, title in ROWS:
        if (name, SIZES[0]) not in runs:
            continue
        if name in labels:
            title += f": `BoxDownsample{labels[name]}`"
        ratios = [statistics.median(runs[(name, s)]) / statistics.median(runs[(PEER, s)])
                  for s in SIZES]
        cells = [cell(runs[(name, s)]) for s in SIZES] + [f"{r:.2f}x" for r in ratios]
        print("| " + " | ".join([title] + cells + [str(maxdiff.get(name, "-"))]) + " |")
    print(f"\nmedian (lowest-highest) of {args.repetitions} runs of "
          f"--benchmark_min_time={args.min_time}")


if __name__ == "__main__":
    main()

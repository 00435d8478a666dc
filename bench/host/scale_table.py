#!/usr/bin/env python3
"""Doubling tables for the host program's large-input corners.

Writes scenarios of n entities for doubling n, plays each with flamer_host
(report to /dev/null) several times, and prints the median wall time per n,
the ratio to the half-size run, and the spread. A ratio near 2 per doubling
is linear growth; near 2.2 is n log n; near 4 is quadratic.

  python3 bench/host/scale_table.py FLAMER_HOST [--runs 3] [--sizes 4000,8000,...]

The cases:
  far     n entities beyond 1.34e8 on x and n explosions that reach none
  large   n entities whose boxes span thousands of units, n explosions that reach none
  moves   n entities standing within one 128-unit cube, each moved once
  crowd   n entities all inside every explosion's cube, n explosions
  reg     a registry export of n keys read by the math library's first call
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time


def far(n):
    lines = [f"entity e{i} pos {2e8 + 64 * i:.0f} 0 0 box -1 -1 -1 1 1 1" for i in range(n)]
    return lines + explosions(n)


def large(n):
    lines = [f"entity e{i} pos {20000 * (i % 200)} 1000000 {20000 * (i // 200)} "
             "box -5000 -5000 -5000 5000 5000 5000" for i in range(n)]
    return lines + explosions(n)


def moves(n):
    lines = [f"entity e{i} pos {i % 100} {i // 100 % 100} 0 box 0 0 0 1 1 1" for i in range(n)]
    return lines + [f"move e{i} {(i * 7) % 100} {(i * 13) % 100} 5" for i in range(n)]


def crowd(n):
    lines = [f"entity e{i} pos {i % 40 - 20} {i // 40 % 40 - 20} {i // 1600 % 40 - 20} "
             "box 0 0 0 1 1 1" for i in range(n)]
    return lines + explosions(n)


# A Flamer at the origin killed, then its corpse blown up until there have
# been n explosions.
def explosions(n):
    return ["flamer f pos 0 0 0", "kill f 1"] + ["event f fireblow"] * (n - 1)


# One explosion starts an effect, whose matrix is the math library's first
# call; the library then reads the registry export of n keys.
def reg(n):
    return ["effect fx", "set flamer_explosion fx", "flamer f pos 0 0 0", "kill f 1"]


def reg_file(n, folder):
    path = os.path.join(folder, f"keys-{n}.reg")
    with open(path, "w") as export:
        export.write("Windows Registry Editor Version 5.00\n\n")
        for i in range(n):
            export.write(f"[HKEY_LOCAL_MACHINE\\Software\\Vendor\\Key{i:07d}]\n"
                         f"\"Value\"=dword:{i:08x}\n\n")
    return {"D3DX_REGISTRY": path}


CASES = {"far": far, "large": large, "moves": moves, "crowd": crowd, "reg": reg}
ENVIRONMENTS = {"reg": reg_file}


def play(host, path, environment):
    start = time.perf_counter()
    with open(os.devnull, "wb") as sink:
        subprocess.run([host, path], stdout=sink, stderr=sink, check=True,
                       env=dict(os.environ, D3DX_DEBUG_OUTPUT="none", **environment))
    return time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("host")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--sizes", default="4000,8000,16000,32000,64000")
    parser.add_argument("--cases", default=",".join(CASES))
    args = parser.parse_args()
    sizes = [int(size) for size in args.sizes.split(",")]
    with tempfile.TemporaryDirectory() as folder:
        for case in args.cases.split(","):
            print(f"\n{case}\n| n | median (s) | / half n | spread |\n|---|---|---|---|")
            previous = None
            for n in sizes:
                path = os.path.join(folder, f"{case}-{n}.txt")
                with open(path, "w") as script:
                    script.write("\n".join(CASES[case](n)) + "\n")
                environment = ENVIRONMENTS[case](n, folder) if case in ENVIRONMENTS else {}
                print(f"  playing {case} with n = {n} ({args.runs} runs)...", file=sys.stderr)
                times = [play(args.host, path, environment) for _ in range(args.runs)]
                median = statistics.median(times)
                ratio = f"{median / previous:.2f}" if previous else "-"
                spread = (max(times) - min(times)) / median if median > 0 else 0
                print(f"| {n} | {median:.3f} | {ratio} | {spread:.0%} |", flush=True)
                previous = median


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""mipchain against vips making the same mip chain, side by side.

Both write every level as a PNG file: level 0 the image re-encoded, then
2x2 box averages down to 1x1. vips decodes the input once into its own
format and then, for each level, shrinks the level before by two and saves
it (`vips shrink`, `vips pngsave` at its defaults: zlib level 6, no row
filter). The runs alternate (mipchain at each compression, then vips), and
each figure is the median wall time of the whole chain over the runs, with
the spread (slowest - fastest) / median. Bytes are the chain's total; "max
diff" is the largest channel difference between vips's levels and
mipchain's, whose levels are the exact rounded 2x2 averages.

The images are made with vips the first time (in --work): 4096 x 4096 RGBA,
a fractal surface in three colour channels with mild sensor-like noise
("photo") or with heavy noise ("noisy"), opaque; and their 2048 x 2048
centres.

  python3 bench/tools/mipchain/vs_vips.py build/default/tools/mipchain/mipchain [--runs 5]

Needs vips (Debian: libvips-tools) and about 2 GB in --work.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

COMPRESSIONS = ("fast", "default", "small")
SIDE = 4096


def vips(*args):
    subprocess.run(["vips", *map(str, args)], check=True, stdout=subprocess.DEVNULL)


def vips_value(*args):
    return subprocess.run(["vips", *map(str, args)], check=True, capture_output=True,
                          text=True).stdout.strip()


def make_images(work):
    """photo-4096.png, noisy-4096.png and their 2048 x 2048 centres."""
    names = [f"{kind}-{side}.png" for kind in ("photo", "noisy") for side in (SIDE, SIDE // 2)]
    if all((work / name).exists() for name in names):
        return names
    print("making the images with vips ...", file=sys.stderr, flush=True)
    t = tempfile.mkdtemp(dir=work)
    v = lambda name: os.path.join(t, name + ".v")
    vips("fractsurf", v("f"), SIDE, SIDE, 2.4)
    vips("flip", v("f"), v("fh"), "horizontal")
    vips("rot", v("f"), v("fr"), "d90")
    vips("bandjoin", f"{v('f')} {v('fh')} {v('fr')}", v("rgb"))
    vips("linear", v("rgb"), v("colours"), "0.11 0.09 0.1", "120 128 136")
    vips("black", v("black"), SIDE, SIDE)
    vips("linear", v("black"), v("alpha"), 1, 255, "--uchar")
    for kind, sigma in (("photo", 2.5), ("noisy", 12)):
        vips("gaussnoise", v("n1"), SIDE, SIDE, "--sigma", sigma, "--mean", 0)
        vips("gaussnoise", v("n2"), SIDE, SIDE, "--sigma", sigma, "--mean", 0)
        vips("bandjoin", f"{v('n1')} {v('n2')} {v('n1')}", v("noise"))
        vips("add", v("colours"), v("noise"), v("sum"))
        vips("cast", v("sum"), v("rgb8"), "uchar")
        vips("bandjoin", f"{v('rgb8')} {v('alpha')}", v(kind))
        vips("pngsave", v(kind), work / f"{kind}-{SIDE}.png")
        vips("crop", v(kind), v("centre"), SIDE // 4, SIDE // 4, SIDE // 2, SIDE // 2)
        vips("pngsave", v("centre"), work / f"{kind}-{SIDE // 2}.png")
    shutil.rmtree(t)
    return names


def vips_chain(image, prefix):
    """The chain as vips makes it; returns the level files."""
    t = tempfile.mkdtemp(dir=prefix.parent)
    level_file = os.path.join(t, "level.v")
    vips("copy", image, level_file)
    files = [f"{prefix}_0.png"]
    vips("pngsave", level_file, files[0])
    width = int(subprocess.run(["vipsheader", "-f", "width", level_file], check=True,
                               capture_output=True, text=True).stdout)
    height = int(subprocess.run(["vipsheader", "-f", "height", level_file], check=True,
                                capture_output=True, text=True).stdout)
    while width > 1 or height > 1:
        next_file = os.path.join(t, "next.v")
        vips("shrink", level_file, next_file, 2 if width > 1 else 1, 2 if height > 1 else 1)
        os.replace(next_file, level_file)
        width, height = max(width // 2, 1), max(height // 2, 1)
        files.append(f"{prefix}_{len(files)}.png")
        vips("pngsave", level_file, files[-1])
    shutil.rmtree(t)
    return files


def mipchain_chain(mipchain, compression, image, prefix):
    subprocess.run([mipchain, f"--compression={compression}", image, prefix], check=True,
                   stdout=subprocess.DEVNULL)
    return sorted(str(p) for p in prefix.parent.glob(prefix.name + "_*.png"))


def timed(make):
    start = time.monotonic()
    files = make()
    return time.monotonic() - start, sum(os.path.getsize(f) for f in files), files


def max_difference(ours, theirs):
    worst = 0.0
    with tempfile.TemporaryDirectory() as t:
        for a, b in zip(sorted(ours), sorted(theirs)):
            vips("subtract", a, b, f"{t}/d.v")
            vips("abs", f"{t}/d.v", f"{t}/a.v")
            worst = max(worst, float(vips_value("max", f"{t}/a.v")))
    return worst


def fmt(times):
    median = statistics.median(times)
    return median, f"{median:.2f} ({(max(times) - min(times)) / median:.0%})"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("mipchain")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--work", default=os.path.join(tempfile.gettempdir(), "mipchain-vs-vips"))
    a = ap.parse_args()
    if shutil.which("vips") is None:
        sys.exit("vips is not installed (Debian: apt-get install libvips-tools)")
    work = Path(a.work)
    work.mkdir(parents=True, exist_ok=True)
    mipchain = os.path.abspath(a.mipchain)
    print("| image | " + " | ".join(f"mipchain {c} s" for c in COMPRESSIONS) +
          " | vips s | default / vips | " + " | ".join(f"{c} MB" for c in COMPRESSIONS) +
          " | vips MB | max diff vips - mipchain |")
    print("|---" * (2 * len(COMPRESSIONS) + 5) + "|")
    for name in make_images(work):
        image = work / name
        times = {who: [] for who in (*COMPRESSIONS, "vips")}
        sizes, files = {}, {}
        for run in range(a.runs):
            print(f"{name}: run {run + 1} of {a.runs}", file=sys.stderr, flush=True)
            for who in times:
                out = work / who
                shutil.rmtree(out, ignore_errors=True)
                out.mkdir()
                prefix = out / "level"
                make = (lambda: vips_chain(image, prefix)) if who == "vips" else (
                    lambda: mipchain_chain(mipchain, who, image, prefix))
                seconds, sizes[who], files[who] = timed(make)
                times[who].append(seconds)
        diff = max_difference(files["default"], files["vips"])
        medians = {who: fmt(t) for who, t in times.items()}
        print(f"| {name} | " + " | ".join(medians[c][1] for c in COMPRESSIONS) +
              f" | {medians['vips'][1]} | {medians['default'][0] / medians['vips'][0]:.2f}x | " +
              " | ".join(f"{sizes[c] / 1e6:.1f}" for c in COMPRESSIONS) +
              f" | {sizes['vips'] / 1e6:.1f} | {diff:.0f} |", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())

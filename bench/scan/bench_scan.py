#!/usr/bin/env python3
"""Compares `tarnwick-cli scan` with GNU find on a generated folder tree (run by hand).

    bench/scan/bench_scan.py [--tree DIR] [--runs N] [--cli PATH]

The tree (about 300,000 entries, some 12,000 of them matching the 35 default patterns, nested
folders among them temporary and system folder names, file names in mixed case) is generated
once, always the same, and reused while its marker file says it is current. Each command runs
once to warm the cache, then N times in turn; the medians and their ratios are printed:

  bare walk      find ROOT -false                      (reading the folders, nothing else)
  find patterns  find ROOT ( -iname P1 -o ... ) -printf '%s %p\\n'
  tarnwick       tarnwick-cli scan ROOT --patterns ... --no-ignore-temp --no-ignore-sys

Goal: tarnwick <= 1.5 x bare walk. Output goes to /dev/null for all three.
"""
import argparse
import os
import random
import statistics
import subprocess
import sys
import time
from collections import deque

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
TREE_VERSION = "1"
SEED = 20261209
TARGET_ENTRIES = 300_000


def default_patterns():
    with open(os.path.join(REPO, "resources", "Settings.ini"), "rb") as f:
        for line in f.read().decode().splitlines():
            if line.startswith("extensions="):
                return line[len("extensions="):].split(";")
    sys.exit("no extensions line in resources/Settings.ini")


def generate(root, patterns):
    """Writes the tree breadth first until it holds TARGET_ENTRIES entries."""
    rng = random.Random(SEED)
    matching = [p[1:] for p in patterns]  # "*.doc" -> ".doc"
    other = [".txt", ".jpg", ".png", ".dll", ".exe", ".h", ".c", ".js", ".py", ".html", ".css",
             ".xml", ".json", ".log", ".dat", ".ini", ".mp3", ".zip", ".cfg", ".bak", ".docx~",
             ".pdf.part", ""]
    words = ["report", "budget", "notes", "invoice", "photo", "setup", "readme", "data",
             "summary", "draft", "letter", "plan", "index", "main", "config", "cache", "thumb"]
    folder_words = ["Documents", "Projects", "src", "lib", "assets", "old", "2019", "2020",
                    "archive", "misc", "build", "Work", "Private", "images", "docs"]
    special = ["Temp", "temp", "TEMP", "Windows", "Program Files", "Cookies", "Temp2", "MyTemp",
               "Program Files (x86)", "System Volume Information", "RECYCLER"]
    dot_folders = [".git", ".cache"]

    def case(text):
        r = rng.random()
        return text.upper() if r < 0.1 else text.capitalize() if r < 0.2 else text

    entries = 0
    matches = 0
    queue = deque([(root, 0, False)])
    while queue and entries < TARGET_ENTRIES:
        folder, depth, in_dot = queue.popleft()
        names = set()
        for _ in range(rng.randint(2, 20)):
            name = f"{case(rng.choice(words))}_{rng.randrange(100000)}"
            if not in_dot and rng.random() < 0.045:
                name += case(rng.choice(matching))
                matches += 1
                size = rng.randrange(1 << 22)
            else:
                name += rng.choice(other)
                size = 0
            if name in names:
                continue
            names.add(name)
            with open(os.path.join(folder, name), "wb") as f:
                if size:
                    f.truncate(size)  # sparse: the size without the writing
            entries += 1
        for _ in range(rng.choice([0, 1, 1, 2, 2, 3, 4]) if depth < 14 else 0):
            r = rng.random()
            if r < 0.04:
                name, dot = rng.choice(dot_folders), True
            elif r < 0.12:
                name, dot = rng.choice(special), in_dot
            else:
                name, dot = f"{rng.choice(folder_words)}{rng.randrange(1000)}", in_dot
            if name in names:
                continue
            names.add(name)
            path = os.path.join(folder, name)
            os.mkdir(path)
            entries += 1
            queue.append((path, depth + 1, dot))
    return entries, matches


def median_time(cmd, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--tree", default="/tmp/tarnwick-bench-scan")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--cli", default=os.path.join(REPO, "build", "default", "src", "cli",
                                                 "tarnwick-cli"))
    args = ap.parse_args()
    patterns = default_patterns()
    root = os.path.join(args.tree, "root")
    marker = os.path.join(args.tree, "tree-version")

    if not (os.path.exists(marker) and open(marker).read() == TREE_VERSION):
        subprocess.run(["rm", "-rf", args.tree], check=True)
        os.makedirs(root)
        start = time.perf_counter()
        entries, matches = generate(root, patterns)
        with open(marker, "w") as f:
            f.write(TREE_VERSION)
        print(f"generated {entries} entries, {matches} matches in "
              f"{time.perf_counter() - start:.1f} s")

    find_names = ["("]
    for i, p in enumerate(patterns):
        find_names += (["-o"] if i else []) + ["-iname", p]
    find_names += [")"]
    commands = {
        "bare walk": ["find", root, "-false"],
        "find patterns": ["find", root] + find_names + ["-printf", "%s %p\\n"],
        "tarnwick": [args.cli, "scan", root, "--patterns", ";".join(patterns),
                     "--no-ignore-temp", "--no-ignore-sys"],
    }

    # The same matches, or the comparison means nothing.
    found = subprocess.run(commands["find patterns"], capture_output=True, text=True,
                           check=True).stdout.count("\n")
    scan = subprocess.run(commands["tarnwick"], capture_output=True, text=True, check=True)
    print(f"find lists {found} files; tarnwick: {scan.stderr.strip()}")

    for cmd in commands.values():  # warm the cache
        subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    times = {name: [] for name in commands}
    for _ in range(args.runs):
        for name, cmd in commands.items():
            times[name].append(median_time(cmd, 1))
    t = {name: statistics.median(v) for name, v in times.items()}
    for name, value in t.items():
        print(f"{name:14} {value * 1000:8.1f} ms (median of {args.runs})")
    print(f"bare walk / find patterns = {t['bare walk'] / t['find patterns']:.3f}")
    print(f"tarnwick  / bare walk     = {t['tarnwick'] / t['bare walk']:.2f}  (goal <= 1.5)")
    print(f"tarnwick  / find patterns = {t['tarnwick'] / t['find patterns']:.3f}")


if __name__ == "__main__":
    main()

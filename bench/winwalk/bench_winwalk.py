#!/usr/bin/env python3
"""Compares the Windows `tarnwick-cli.exe scan` with Wine's own `cmd /c dir /s /b` (run by hand).

    bench/winwalk/bench_winwalk.py [--tree DIR] [--entries N] [--runs N] [--cli PATH]
                                   [--prefix WINEPREFIX]

Both walk the same folder tree under Wine, in one run, in turn: each once to warm the caches,
then N times each, alternating. The tree is the one bench/scan generates (nested folders, 35
default patterns, temporary and system folder names, dot folders), cut at --entries entries
(default 93,000), made once and reused while its marker file says it is current.

  dir /s    wine cmd /c dir /s /b ROOT          (lists every entry: the platform's own walk)
  tarnwick  wine tarnwick-cli.exe scan ROOT --patterns ... --no-ignore-temp --no-ignore-sys

Both outputs go to a pipe that this script reads and counts. For each it prints the median wall
time, the median processor time of the program itself (user + system, its process tree), and
the median processor time the prefix's Wine server and services spent meanwhile (the Wine
server does the work of many calls, the mount manager service that of volume queries), then the
ratio of the wall times. The machine's load (uptime) is printed before and after: on a shared
machine take the figures of a quiet moment.

Goal: tarnwick <= 1.2 x dir /s.
"""
import argparse
import os
import resource
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "bench", "scan"))
import bench_scan  # noqa: E402  (the tree generator and the default patterns)

TREE_VERSION = "1"


def windows_path(path):
    return "Z:" + path.replace("/", "\\")  # Wine's drive Z: is the Linux root


def wine_env(prefix):
    env = dict(os.environ, WINEPREFIX=prefix, WINEARCH="win64", WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=", LC_ALL="C.UTF-8")
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    return env


def prefix_processes(prefix):
    """Pids of the long-lived processes of this Wine prefix (server, services, devices)."""
    pids = []
    marker = f"WINEPREFIX={prefix}".encode()
    for pid in os.listdir("/proc"):
        if not pid.isdigit() or int(pid) == os.getpid():
            continue
        try:
            with open(f"/proc/{pid}/environ", "rb") as f:
                if marker in f.read().split(b"\0"):
                    pids.append(int(pid))
        except OSError:
            pass
    return pids


def cpu_seconds(pids):
    ticks = os.sysconf("SC_CLK_TCK")
    total = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])  # utime, stime
        except OSError:
            pass
    return total / ticks


def children_cpu():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime


def timed(cmd, env, prefix):
    """Runs cmd; returns wall s, own processor s, prefix processor s, output lines."""
    services = prefix_processes(prefix)
    server_before = cpu_seconds(services)
    own_before = children_cpu()
    start = time.perf_counter()
    done = subprocess.run(cmd, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, check=False)
    wall = time.perf_counter() - start
    own = children_cpu() - own_before
    server = cpu_seconds(services) - server_before
    if done.returncode != 0:
        sys.exit(f"{' '.join(cmd)} exited {done.returncode}:\n{done.stderr.decode(errors='replace')}")
    return wall, own, server, done.stdout.count(b"\n"), done.stderr.decode(errors="replace")


def uptime():
    return subprocess.run(["uptime"], capture_output=True, text=True).stdout.strip()


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--tree", default="/tmp/tarnwick-bench-winwalk")
    ap.add_argument("--entries", type=int, default=93_000)
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--cli", default=os.path.join(REPO, "build", "windows-cross", "src", "cli",
                                                 "tarnwick-cli.exe"))
    ap.add_argument("--prefix", default=os.path.join(REPO, "build", "windows-cross",
                                                    "wineprefix-bench"))
    args = ap.parse_args()
    prefix = os.path.abspath(args.prefix)
    env = wine_env(prefix)
    patterns = bench_scan.default_patterns()
    root = os.path.join(args.tree, "root")
    marker = os.path.join(args.tree, "tree-version")
    wanted = f"{TREE_VERSION} {args.entries}"

    if not (os.path.exists(marker) and open(marker).read() == wanted):
        subprocess.run(["rm", "-rf", args.tree], check=True)
        os.makedirs(root)
        bench_scan.TARGET_ENTRIES = args.entries
        start = time.perf_counter()
        entries, matches = bench_scan.generate(root, patterns)
        with open(marker, "w") as f:
            f.write(wanted)
        print(f"generated {entries} entries, {matches} matches in "
              f"{time.perf_counter() - start:.1f} s")

    if not os.path.exists(os.path.join(prefix, ".initialised")):
        os.makedirs(prefix, exist_ok=True)
        subprocess.run(["wine", "wineboot", "--init"], env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        open(os.path.join(prefix, ".initialised"), "w").close()
    # Keep the server and its services running between the runs, as a Windows session would.
    subprocess.run(["wineserver", "-p60"], env=env, check=False)
    subprocess.run(["wine", "cmd", "/c", "exit"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)

    win_root = windows_path(root)
    commands = {
        "dir /s": ["wine", "cmd", "/c", "dir", "/s", "/b", win_root],
        "tarnwick": ["wine", args.cli, "scan", win_root, "--patterns", ";".join(patterns),
                     "--no-ignore-temp", "--no-ignore-sys"],
    }
    print(f"before: {uptime()}")
    for name, cmd in commands.items():  # warm the caches; show what each found
        _, _, _, lines, err = timed(cmd, env, prefix)
        summary = err.strip().splitlines()[-1] if name == "tarnwick" and err.strip() else ""
        print(f"{name:9} lists {lines} lines {summary}")

    runs = {name: [] for name in commands}
    for _ in range(args.runs):
        for name, cmd in commands.items():
            runs[name].append(timed(cmd, env, prefix)[:3])
    print(f"after:  {uptime()}")

    med = {}
    for name, values in runs.items():
        wall, own, server = (statistics.median(v[i] for v in values) for i in range(3))
        med[name] = wall
        walls = " ".join(f"{v[0]:.2f}" for v in values)
        print(f"{name:9} wall {wall:7.2f} s (runs: {walls})  processor: own {own:6.2f} s, "
              f"wine server and services {server:6.2f} s  (medians of {args.runs})")
    print(f"tarnwick / dir /s = {med['tarnwick'] / med['dir /s']:.2f}  (goal <= 1.2)")


if __name__ == "__main__":
    main()

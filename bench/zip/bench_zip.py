#!/usr/bin/env python3
"""Compares `tarnwick-cli zip` with zip, 7z and bsdtar on a generated document corpus (run by hand).

    bench/zip/bench_zip.py [--corpus DIR] [--cli PATH] [--runs N] [--tools T,...] [--keep]
                           [--windows-cli PATH [--wine-prefix DIR]]

The corpus (about 1 GB, always the same) is generated once and reused while its marker file
says it is current. 55% of its bytes are text-like documents (.doc, .xls, .txt, .pst, .mdb),
45% already-compressed ones (.docx, .xlsx, .pdf, .jpg). Two sets are archived:

  mixed           every file
  compressible    only the text-like documents

and, with --tree-entries N, a third one:

  in a tree       the mixed set inside a folder tree of N more entries (empty files and folders
                  as bench/scan makes them, 35 default patterns): the cost per entry and of the
                  walk, which under Wine is the larger part

with each tool, after one untimed pass that brings the files into the page cache:

  tarnwick   tarnwick-cli zip OUT FOLDER --patterns ...   (scan included)
  zip        zip -q -@ OUT < list                         (default level 6, one thread)
  7z         7z a -tzip OUT @list                         (default settings, all threads)
  bsdtar     bsdtar --format zip -cf OUT -T list
  tarnwick.exe  the Windows build's tarnwick-cli zip under Wine (with --windows-cli; the corpus
             as Wine's drive Z: shows it); its time is also given as a ratio to tarnwick's

Prints each tool's median wall time, processor time, archive size and peak memory, with their
ratios to zip's (--tools picks some of the tools; zip is always run, as the yardstick).
Goals: tarnwick at most 0.15 of zip's time on the mixed set and ahead on the compressible one,
the archive no larger than zip's, peak memory at most 512 MB. The wall-time ratio assumes both
processors are free; on a busy machine the processor times tell how much work each tool does.
"""
import argparse
import os
import random
import resource
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "bench", "scan"))
import bench_scan  # noqa: E402  (the folder tree generator and the default patterns)
CORPUS_VERSION = "1"
SEED = 20261210
TEXT_BYTES = 550 << 20
PACKED_BYTES = 450 << 20
TEXT_KINDS = [".doc", ".xls", ".txt", ".rtf", ".ppt"]
PACKED_KINDS = [".docx", ".xlsx", ".pptx", ".pdf", ".jpg"]
TEXT_PATTERNS = "*.doc;*.xls;*.txt;*.rtf;*.ppt;*.pst;*.mdb"
ALL_PATTERNS = TEXT_PATTERNS + ";*.docx;*.xlsx;*.pptx;*.pdf;*.jpg"


def text_pool(rng, size):
    """Text-like bytes: made-up words with Zipf-like frequencies between markup and the runs of
    zeros and record headers that office files hold. Deflate gets it to about 0.3."""
    letters = "etaoinshrdlcumwfgypbvkjxqz"
    vocab = []
    for _ in range(3000):
        n = min(12, max(1, int(rng.expovariate(1 / 5.0)) + 1))
        vocab.append("".join(rng.choice(letters[: 8 + rng.randrange(18)]) for _ in range(n)))
    weights = [1.0 / (i + 1) for i in range(len(vocab))]
    opening = ["<w:p><w:r><w:t>", '<td class="cell">', "\x00" * 64,
               "\x00\x00\x00\x01\x00\x00\x00\x00\xff\xff\xff\xff"]
    closing = ["</w:t></w:r></w:p>\r\n", '<td class="cell">', "</td>"]
    out = []
    total = 0
    while total < size:
        words = " ".join(rng.choices(vocab, weights, k=rng.randrange(5, 60)))
        piece = rng.choice(opening) + words + rng.choice(closing)
        out.append(piece)
        total += len(piece)
    return "".join(out).encode("latin-1")[:size]


def log_uniform(rng, lo, hi):
    return int(lo * (hi / lo) ** rng.random())


def generate(root):
    rng = random.Random(SEED)
    pool = text_pool(rng, 8 << 20)
    os.makedirs(root, exist_ok=True)

    def folder():
        depth = rng.randrange(1, 4)
        parts = [rng.choice(["Documents", "Work", "Projects", "2021", "2022", "Archive", "Private"])
                 for _ in range(depth)]
        path = os.path.join(root, *parts)
        os.makedirs(path, exist_ok=True)
        return path

    def text_bytes(size):
        # Slices of the pool at random places: text-like, but no long repeats within deflate's
        # 32 KiB window.
        chunks, have = [], 0
        while have < size:
            n = min(size - have, 65536)
            at = rng.randrange(0, len(pool) - n)
            chunks.append(pool[at : at + n])
            have += n
        return b"".join(chunks)

    n = 0
    made = 0
    # Two large mail stores and a database, then documents.
    for name, size in [("Outlook.pst", 90 << 20), ("Archive.pst", 60 << 20), ("Contacts.mdb", 20 << 20)]:
        with open(os.path.join(folder(), name), "wb") as f:
            f.write(text_bytes(size))
        made += size
    while made < TEXT_BYTES:
        size = min(log_uniform(rng, 4 << 10, 6 << 20), TEXT_BYTES - made)
        with open(os.path.join(folder(), f"doc{n:05d}{rng.choice(TEXT_KINDS)}"), "wb") as f:
            f.write(text_bytes(size))
        made += size
        n += 1
    made = 0
    while made < PACKED_BYTES:
        size = min(log_uniform(rng, 16 << 10, 12 << 20), PACKED_BYTES - made)
        with open(os.path.join(folder(), f"file{n:05d}{rng.choice(PACKED_KINDS)}"), "wb") as f:
            f.write(rng.randbytes(size))
        made += size
        n += 1
    with open(os.path.join(root, ".corpus-version"), "w") as f:
        f.write(CORPUS_VERSION)


def make_tree(tree, corpus, entries):
    """The corpus inside a folder tree of `entries` more entries, made once and reused: the
    tree's files emptied (only the walk and the entries count), the corpus hard-linked in."""
    marker = os.path.join(tree, ".tree-version")
    wanted = f"{CORPUS_VERSION} {entries}"
    if os.path.exists(marker) and open(marker).read() == wanted:
        return
    subprocess.run(["rm", "-rf", tree], check=True)
    os.makedirs(os.path.join(tree, "root"))
    bench_scan.TARGET_ENTRIES = entries
    bench_scan.generate(os.path.join(tree, "root"), bench_scan.default_patterns())
    for folder, _, names in os.walk(os.path.join(tree, "root")):
        for name in names:
            os.truncate(os.path.join(folder, name), 0)
    subprocess.run(["cp", "-al", corpus, os.path.join(tree, "corpus")], check=True)
    with open(marker, "w") as f:
        f.write(wanted)


def files_matching(root, extensions):
    out = []
    for folder, _, names in os.walk(root):
        for name in sorted(names):
            if os.path.splitext(name)[1].lower() in extensions:
                out.append(os.path.relpath(os.path.join(folder, name), root))
    return out


def run(cmd, cwd, stdin=None):
    """Runs a command; its wall time, the processor time it used (user + system) and its peak
    resident memory in bytes."""
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, cwd=cwd, stdin=stdin, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE)
    err = proc.stderr.read()
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        raise subprocess.CalledProcessError(proc.returncode, cmd, stderr=err)
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--corpus", default=os.path.join(tempfile.gettempdir(), "tarnwick-bench-zip"))
    ap.add_argument("--cli", default=os.path.join(REPO, "build", "default", "src", "cli", "tarnwick-cli"))
    ap.add_argument("--runs", type=int, default=1)
    ap.add_argument("--tools", default="tarnwick,zip,7z,bsdtar",
                    help="comma-separated tools to run (zip is always run)")
    ap.add_argument("--keep", action="store_true", help="keep the archives made")
    ap.add_argument("--tree-entries", type=int, default=0,
                    help="also archive the mixed set inside a folder tree of this many entries")
    ap.add_argument("--tree", default=os.path.join(tempfile.gettempdir(), "tarnwick-bench-zip-tree"))
    ap.add_argument("--windows-cli", help="the Windows build's tarnwick-cli.exe, run under Wine")
    ap.add_argument("--wine-prefix",
                    default=os.path.join(REPO, "build", "windows-cross", "wineprefix"))
    args = ap.parse_args()
    # The tools run in the corpus folder: a program given by a relative path must still be found.
    args.cli = os.path.abspath(args.cli)

    marker = os.path.join(args.corpus, ".corpus-version")
    if not os.path.exists(marker) or open(marker).read() != CORPUS_VERSION:
        print(f"generating the corpus in {args.corpus} ...", flush=True)
        start = time.perf_counter()
        generate(args.corpus)
        print(f"  {time.perf_counter() - start:.1f} s", flush=True)
        # A child's peak memory starts at this process's size when it is started, and generating
        # made this process large: start afresh, so that each tool's peak is its own.
        os.execv(sys.executable, [sys.executable] + sys.argv)
    out_dir = tempfile.mkdtemp(prefix="tarnwick-bench-out-")
    if args.windows_cli:
        # A Wine server kept running for the whole bench, with Wine's services started once
        # (untimed): otherwise each timed run would include Wine's cold start.
        wine_env = dict(os.environ, WINEPREFIX=args.wine_prefix)
        subprocess.run(["wineserver", "-p"], env=wine_env, check=True)
        subprocess.run([os.path.join(REPO, "cmake", "wine-run"), args.wine_prefix, "cmd", "/c",
                        "exit"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, check=True)

    sets = [
        ("mixed", ALL_PATTERNS, args.corpus),
        ("compressible", TEXT_PATTERNS, args.corpus),
    ]
    if args.tree_entries > 0:
        make_tree(args.tree, args.corpus, args.tree_entries)
        patterns = ";".join(sorted(set(ALL_PATTERNS.split(";")) | set(bench_scan.default_patterns())))
        sets.append((f"mixed in a tree of {args.tree_entries} entries", patterns, args.tree))
    for label, patterns, root in sets:
        exts = {p[1:] for p in patterns.split(";")}
        names = files_matching(root, exts)
        list_file = os.path.join(out_dir, label + ".list")
        with open(list_file, "w") as f:
            f.write("\n".join(names) + "\n")
        total = sum(os.path.getsize(os.path.join(root, n)) for n in names)
        for n in names:  # into the page cache
            with open(os.path.join(root, n), "rb") as f:
                while f.read(1 << 22):
                    pass
        tools = {
            "tarnwick": lambda out: run([args.cli, "zip", out, root, "--patterns", patterns,
                                         "--no-ignore-temp", "--no-ignore-sys"], root),
            "zip": lambda out: run(["zip", "-q", "-@", out], root, open(list_file)),
            "7z": lambda out: run(["7z", "a", "-tzip", "-bd", out, "@" + list_file], root),
            "bsdtar": lambda out: run(["bsdtar", "--format", "zip", "-cf", out, "-T", list_file],
                                      root),
        }
        if args.windows_cli:
            def under_wine(out):
                z = lambda p: "Z:" + p.replace("/", "\\")
                return run([os.path.join(REPO, "cmake", "wine-run"), args.wine_prefix,
                            os.path.abspath(args.windows_cli), "zip", z(out),
                            z(root) + "\\", "--patterns", patterns, "--no-ignore-temp",
                            "--no-ignore-sys"], root)
            tools["tarnwick.exe"] = under_wine
        chosen = set(args.tools.split(",")) | {"zip", "tarnwick.exe"}
        tools = {tool: go for tool, go in tools.items() if tool in chosen}
        # The tools take turns, so that other load on the machine spreads over all of them.
        walls = {tool: [] for tool in tools}
        cpus = {tool: [] for tool in tools}
        peaks = {tool: 0 for tool in tools}
        sizes = {}
        for _ in range(args.runs):
            for tool, go in tools.items():
                out = os.path.join(out_dir, f"{label}-{tool}.zip")
                if os.path.exists(out):
                    os.remove(out)
                wall, cpu, peak = go(out)
                walls[tool].append(wall)
                cpus[tool].append(cpu)
                peaks[tool] = max(peaks[tool], peak)
                sizes[tool] = os.path.getsize(out)
                if not args.keep:
                    os.remove(out)
        zt = statistics.median(walls["zip"])
        zc = statistics.median(cpus["zip"])
        zs = sizes["zip"]
        load = os.getloadavg()[0]
        print(f"\n{label}: {len(names)} files, {total / 1e6:.0f} MB (load average now {load:.1f})")
        print(f"  {'tool':12} {'time s':>8} {'x zip':>7} {'cpu s':>8} {'x zip':>7} {'size MB':>9}"
              f" {'x zip':>7} {'peak MB':>8}")
        for tool in tools:
            t, c, s = statistics.median(walls[tool]), statistics.median(cpus[tool]), sizes[tool]
            print(f"  {tool:12} {t:8.2f} {t / zt:7.3f} {c:8.2f} {c / zc:7.3f} {s / 1e6:9.1f}"
                  f" {s / zs:7.3f} {peaks[tool] / 1e6:8.0f}")
        if "tarnwick.exe" in tools and "tarnwick" in tools:
            ratio = statistics.median(walls["tarnwick.exe"]) / statistics.median(walls["tarnwick"])
            print(f"  tarnwick.exe under Wine: {ratio:.2f} x the Linux build's time")
    if args.windows_cli:
        subprocess.run(["wineserver", "-k"], env=wine_env)
    if args.keep:
        print(f"\narchives kept in {out_dir}")
    else:
        for name in os.listdir(out_dir):
            os.remove(os.path.join(out_dir, name))
        os.rmdir(out_dir)


if __name__ == "__main__":
    main()

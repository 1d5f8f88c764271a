#!/usr/bin/env python3
"""The Windows build of tarnwick-cli, run under Wine, scans a tree with folder links that loop and
a second way into a folder: Wine shows Linux links as reparse points, so this is the loop guard
of the Windows walk on real links. Every file is listed once, the walk ends, and a root given in
another letter case than the folders have on disk is walked and shown as given (upper-cased).

usage: scan_links_under_wine.py WINE_RUN WINE_PREFIX TARNWICK_CLI_EXE
"""
import os
import subprocess
import sys
import tempfile

wine_run, prefix, cli = sys.argv[1:4]


def windows_path(path):
    return "Z:" + path.replace("/", "\\")  # Wine's drive Z: is the Linux root


def scan(root):
    done = subprocess.run([wine_run, prefix, cli, "scan", root, "--patterns", "*.doc;*.pdf",
                           "--no-ignore-temp", "--no-ignore-sys"],
                          capture_output=True, text=True, timeout=240)
    if done.returncode != 0:
        sys.exit(f"tarnwick-cli scan exited {done.returncode}:\n{done.stdout}{done.stderr}")
    rows = [line.split("\t") for line in done.stdout.splitlines()]
    lines = done.stderr.strip().splitlines()
    return rows, lines[-1] if lines else ""


failures = []
with tempfile.TemporaryDirectory(prefix="tarnwick-wine-links-") as top:
    root = os.path.join(top, "Scan Me")
    os.makedirs(os.path.join(root, "docs"))
    os.makedirs(os.path.join(root, "other"))
    with open(os.path.join(root, "docs", "a.doc"), "wb") as f:
        f.write(b"a" * 1536)
    with open(os.path.join(root, "other", "b.pdf"), "wb") as f:
        f.write(b"b" * 3072)
    os.symlink("..", os.path.join(root, "docs", "up"))                           # loop to the root
    os.symlink(os.path.join(root, "docs"), os.path.join(root, "other", "docs2"))  # second way in
    os.symlink(os.path.join(root, "docs", "up"), os.path.join(root, "via"))       # link to a link
    os.symlink(os.path.join(top, "outside"), os.path.join(root, "gone"))          # leads nowhere
    os.symlink(os.path.join(root, "other", "b.pdf"), os.path.join(root, "docs", "link.pdf"))

    given = windows_path(root).lower() + "\\"
    shown = given.upper()
    rows, summary = scan(given)
    by_name = {}
    for row in rows:
        if len(row) != 3:
            failures.append(f"row {row}")
            continue
        by_name.setdefault(row[0], []).append(row)
    listed_once = {name: len(found) == 1 for name, found in by_name.items()}
    if sorted(by_name) != ["a.doc", "b.pdf", "link.pdf"] or not all(listed_once.values()):
        failures.append(f"rows {rows}")
    else:
        docs_ways = {shown + "docs\\", shown + "other\\docs2\\"}
        if by_name["a.doc"][0][1:] != [by_name["a.doc"][0][1], "1.5 KB"] or \
                by_name["a.doc"][0][1] not in docs_ways:
            failures.append(f"a.doc: {by_name['a.doc']}")
        if by_name["link.pdf"][0][1:] != [by_name["a.doc"][0][1], "3 KB"]:
            failures.append(f"link.pdf (the target's size, beside a.doc): {by_name['link.pdf']}")
        if by_name["b.pdf"][0][1:] != [shown + "other\\", "3 KB"]:
            failures.append(f"b.pdf: {by_name['b.pdf']}")
    if not summary.startswith("3 matches from a total of "):
        failures.append(f"summary {summary!r}")

if failures:
    sys.exit("\n".join(failures))
print("links under Wine: each file listed once")

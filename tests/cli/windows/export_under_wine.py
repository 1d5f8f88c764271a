#!/usr/bin/env python3
"""The Windows build of tarnwick-cli, run under Wine, archives and copies a small tree: names in
Greek, Cyrillic and CJK letters and a path longer than 260 characters, with such names in its
arguments too. Its archive is read back
with Python's zipfile and checked with unzip; its copy is compared file by file.

usage: export_under_wine.py WINE_RUN WINE_PREFIX TARNWICK_CLI_EXE
"""
import os
import random
import shutil
import subprocess
import sys
import tempfile
import zipfile

wine_run, prefix, cli = sys.argv[1:4]


def windows_path(path):
    # Wine's drive Z: is the Linux root.
    return "Z:" + path.replace("/", "\\")


def run(*args):
    done = subprocess.run([wine_run, prefix, cli, *args], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"tarnwick-cli {' '.join(args)} exited {done.returncode}:\n"
                 f"{done.stdout}{done.stderr}")
    return done.stdout


deep = "/".join(c * 50 for c in "abcdef")  # 305 characters of folders
random.seed(6)
files = {
    "Документы/Отчёт за год.doc": b"Cyrillic",
    "Έγγραφα/Αναφορά.pdf": bytes(random.getrandbits(8) for _ in range(200000)),
    "文档/报告 보고서.doc": b"CJK " * 50000,
    deep + "/long.doc": b"beyond 260 characters",
}
left_out = {"Документы/notes.txt": b"not a match"}

failures = []
with tempfile.TemporaryDirectory(prefix="tarnwick-wine-") as top:
    src = os.path.join(top, "Источник 源")
    for rel, data in {**files, **left_out}.items():
        path = os.path.join(src, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    settings = os.path.join(top, "Ρυθμίσεις.ini")
    with open(settings, "wb") as f:
        f.write(b"[app]\r\n")
    common = [windows_path(src) + "\\", "--patterns", "*.doc;*.pdf", "--no-ignore-temp",
              "--no-ignore-sys", "--settings", windows_path(settings)]

    archive = os.path.join(top, "ΥΠΟΛΟΓΙΣΤΗΣ.zip")
    run("zip", windows_path(archive), *common)
    with zipfile.ZipFile(archive) as z:
        if z.testzip() is not None:
            failures.append("zipfile finds a damaged entry")
        names = z.namelist()
        for rel, data in files.items():
            found = [n for n in names if n.endswith("/" + rel)]
            if len(found) != 1:
                failures.append(f"{rel}: {len(found)} entries in {names}")
            elif z.read(found[0]) != data:
                failures.append(f"{rel}: other bytes in the archive")
        # Every file once, then the manifest.
        if len(names) != len(files) + 1 or names[-1] != "tarnwick-manifest.txt":
            failures.append(f"entries {names}")
        elif b"System: Windows\n" not in z.read("tarnwick-manifest.txt"):
            failures.append("the manifest does not say Windows")
    unzip = shutil.which("unzip")
    if unzip:
        test = subprocess.run([unzip, "-tq", archive], capture_output=True, text=True)
        if test.returncode != 0:
            failures.append(f"unzip -t: {test.stdout}{test.stderr}")

    dest = os.path.join(top, "Копия")
    run("copy", windows_path(dest), *common)
    copied = {os.path.relpath(os.path.join(d, f), dest)
              for d, _, fs in os.walk(dest) for f in fs}
    if copied != set(files):
        failures.append(f"copied {sorted(copied)}")
    for rel, data in files.items():
        path = os.path.join(dest, rel)
        if os.path.exists(path) and open(path, "rb").read() != data:
            failures.append(f"{rel}: other bytes in the copy")

for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)

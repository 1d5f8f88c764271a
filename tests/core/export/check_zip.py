#!/usr/bin/env python3
"""Checks an archive with Python's zipfile against what it should hold.

Usage: check_zip.py ARCHIVE < manifest.json
The manifest is a list of entries in archive order: {"name", "size", "mtime", "file"}, where
"file" (optional) names a file whose bytes the entry must hold. Prints what
differs and exits 1, or exits 0.
"""
import json
import sys
import time
import zipfile


def dos_time(mtime):
    t = time.localtime(mtime + (mtime & 1))
    if t.tm_year < 1980:
        return (1980, 1, 1, 0, 0, 0)
    return (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec - t.tm_sec % 2)


def main():
    archive = sys.argv[1]
    expected = json.load(sys.stdin)
    problems = []
    with zipfile.ZipFile(archive) as zf:
        infos = zf.infolist()
        names = [i.filename for i in infos]
        want = [e["name"] for e in expected]
        if names != want:
            problems.append(f"names differ: {names[:5]}... ({len(names)}) != {want[:5]}... ({len(want)})")
        for info, e in zip(infos, expected):
            if info.file_size != e["size"]:
                problems.append(f"{info.filename}: size {info.file_size} != {e['size']}")
            if "mtime" in e and e["mtime"] is not None and info.date_time != dos_time(e["mtime"]):
                problems.append(f"{info.filename}: time {info.date_time} != {dos_time(e['mtime'])}")
            if e.get("file"):
                same = True
                with zf.open(info) as f, open(e["file"], "rb") as g:  # zipfile checks the CRC
                    for chunk in iter(lambda: f.read(1 << 20), b""):
                        if chunk != g.read(len(chunk)):
                            same = False
                            break
                    same = same and g.read(1) == b""
                if not same:
                    problems.append(f"{info.filename}: content differs")
            if info.flag_bits & 0x800 == 0 and any(ord(c) > 127 for c in info.filename):
                problems.append(f"{info.filename}: UTF-8 flag missing")
    for p in problems[:20]:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

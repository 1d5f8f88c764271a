#!/usr/bin/env python3
"""Lays out a deterministic tree for the scan window measurements.

make_tree.py ROOT MATCHES: 10 x 10 x N leaf folders, each with 100 matching files (extensions of
the default pattern list, mixed case) and 100 that do not match; MATCHES is rounded to whole
folders. Files are sparse, with sizes from 0 to a few MB, so the tree is quick to make.
"""
import os
import random
import sys

root, matches = sys.argv[1], int(sys.argv[2])
rng = random.Random(20240611)
match_ext = ["doc", "DOCX", "xls", "xlsx", "pdf", "PDF", "ppt", "pptx", "pst", "url", "one", "vsd"]
other_ext = ["txt", "jpg", "png", "c", "h", "log", "docx.bak", "mp3", "xml", "json"]
leaves = max(1, matches // 100)
per_top = max(1, leaves // 100)
made = 0
for a in range(10):
    for b in range(10):
        for c in range(per_top):
            if made >= leaves:
                break
            folder = os.path.join(root, f"Area {a}", f"Team {b:02d}", f"Project {c:04d}")
            os.makedirs(folder, exist_ok=True)
            for i in range(100):
                for ext, kind in ((rng.choice(match_ext), "Report"), (rng.choice(other_ext), "data")):
                    path = os.path.join(folder, f"{kind} {i:03d} {rng.randrange(10**6):06d}.{ext}")
                    with open(path, "wb") as f:
                        f.truncate(rng.randrange(4 << 20))
            made += 1
print(f"{made * 100} matches in {made} folders under {root}")

#!/usr/bin/env python3
"""Checks what the tree's folders promise about each other, from the includes of its sources:
- no program folder (nightcap/, setup/, update/) includes from another program's folder, and the library
  floors (common/, lib/, framework/) include from no program and not from the UI engine;
- no cycle between folders (two levels deep: update/host, lib/xml, ...);
- no two headers share a name.
Prints each breach and exits 1 if there is one."""
import os
import re
import subprocess
import sys
from collections import defaultdict

PROGRAMS = ("nightcap", "setup", "update")
FLOORS = ("common", "lib", "framework")
SOURCE = re.compile(r"\.(c|cc|cpp|h|hpp)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder_of(path):
    parts = path.split("/")
    return "/".join(parts[:2]) if len(parts) > 2 else parts[0]


def main(root):
    files = subprocess.check_output(["git", "ls-files"], cwd=root, text=True).split("\n")
    sources = [f for f in files if SOURCE.search(f)]
    tracked = set(files)
    breaches = []

    names = defaultdict(list)
    for f in sources:
        if f.endswith((".h", ".hpp")):
            names[os.path.basename(f)].append(f)
    breaches += [f"header name {n} is used by {', '.join(p)}" for n, p in sorted(names.items()) if len(p) > 1]

    edges = defaultdict(set)
    for f in sources:
        top = f.split("/")[0]
        if top not in PROGRAMS + FLOORS + ("engine",):
            continue
        with open(os.path.join(root, f), encoding="utf-8", errors="replace") as source:
            included = [i for i in INCLUDE.findall(source.read()) if i in tracked]
        for i in included:
            other = i.split("/")[0]
            if top in PROGRAMS and other in PROGRAMS and other != top:
                breaches.append(f"{f} includes {i} from another program's folder")
            if top in FLOORS and (other in PROGRAMS or other == "engine"):
                breaches.append(f"{f} includes {i}: a library floor depends on no program")
            if folder_of(i) != folder_of(f):
                edges[folder_of(f)].add(folder_of(i))

    # A cycle: a folder that reaches itself again.
    def reaches(start):
        seen, todo = set(), list(edges[start])
        while todo:
            node = todo.pop()
            if node == start:
                return True
            if node not in seen:
                seen.add(node)
                todo.extend(edges[node])
        return False

    breaches += [f"{folder} is part of a cycle of folders" for folder in sorted(edges) if reaches(folder)]
    for breach in breaches:
        print(breach)
    return 1 if breaches else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))

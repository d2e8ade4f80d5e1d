#!/usr/bin/python3
"""Checks the layout of a packed payload from `7zz l -slt`: the folder "update" is the first item, the
archive is solid with two blocks, block 0 holds the text files with LZMA2 alone, block 1 the executables
with BCJ before LZMA2, and every item has a modification time.

    check-payload-layout.py PAYLOAD.7z
"""
import subprocess
import sys


def items(listing):
    """The records after the archive's own, as dictionaries."""
    records, current = [], {}
    for line in listing.split("\n")[listing.split("\n").index("----------") + 1:]:
        if not line.strip():
            if current:
                records.append(current)
            current = {}
        elif " = " in line:
            key, value = line.split(" = ", 1)
            current[key] = value
    if current:
        records.append(current)
    return records


def is_folder(record):
    return record.get("Attributes", "").startswith("D")


def main():
    listing = subprocess.run(["7zz", "l", "-slt", sys.argv[1]], check=True, capture_output=True, text=True).stdout
    problems = []
    if "Solid = +" not in listing or "Blocks = 2" not in listing:
        problems.append("not solid with two blocks")
    records = items(listing)
    if not records or records[0].get("Path") != "update" or not is_folder(records[0]):
        problems.append("the first item is not the folder update")
    for record in records:
        path = record.get("Path", "?")
        if not record.get("Modified"):
            problems.append("%s has no modification time" % path)
        if is_folder(record):
            continue
        executable = path.endswith((".exe", ".dll"))
        block, method = record.get("Block"), record.get("Method", "")
        if executable and (block != "1" or not method.startswith("BCJ LZMA2")):
            problems.append("%s: block %s, %s (wanted block 1, BCJ LZMA2)" % (path, block, method))
        if not executable and (block != "0" or not method.startswith("LZMA2")):
            problems.append("%s: block %s, %s (wanted block 0, LZMA2)" % (path, block, method))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

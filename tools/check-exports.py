#!/usr/bin/env python3
"""Checks that a Windows program or DLL exports the expected names, undecorated.

Usage: check-exports.py <file.dll|file.exe> <list>
The list holds one name per line: a plain name must be exported exactly so (C linkage, no
"@n" decoration); "class:Name" requires exported members of the C++ class Name. Lines starting
with "#" are comments. Prints the export table on failure.
"""
import re
import subprocess
import sys


def exports(path):
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], check=True,
                         capture_output=True, text=True).stdout
    names, inside = [], False
    for line in out.splitlines():
        if "[Ordinal/Name Pointer] Table" in line:
            inside = True
            continue
        if inside:
            m = re.match(r"\s*\[\s*\d+\]\s+(\S+)", line)
            if m:
                names.append(m.group(1))
            elif line.strip() == "" and names:
                inside = False
    return names


def main():
    path, listing = sys.argv[1], sys.argv[2]
    names = exports(path)
    table = set(names)
    missing = []
    with open(listing, encoding="utf-8") as f:
        for raw in f:
            item = raw.strip()
            if not item or item.startswith("#"):
                continue
            if item.startswith("class:"):
                cls = item[len("class:"):]
                if not any(re.search(rf"\d{cls}[0-9CDE]", n) for n in names):
                    missing.append(item)
            elif item not in table:
                missing.append(item)
    decorated = [n for n in names if re.search(r"@\d+$", n)]
    if missing or decorated:
        print(f"{path}: {len(names)} exports")
        for n in missing:
            print(f"  missing: {n}")
        for n in decorated:
            print(f"  decorated: {n}")
        print("export table:\n  " + "\n  ".join(names))
        return 1
    print(f"{path}: all {sum(1 for _ in open(listing) if _.strip() and not _.startswith('#'))} "
          f"expected exports present, none decorated ({len(names)} in all)")
    return 0


if __name__ == "__main__":
    sys.exit(main())

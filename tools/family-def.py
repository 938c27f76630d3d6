#!/usr/bin/env python3
"""Writes the module-definition file that makes a DLL export exactly what a family library promises.

Usage: family-def.py --list LIST --library NAME.dll --out FILE.def OBJECT...

The names come from LIST (the list tools/check-family-boundary.py checks against), the symbols
from the OBJECTs the DLL is linked from: each listed flat function and data item by its name,
each listed member with every symbol that spells it (a constructor or destructor has several).
Nothing else is exported: no vtable, no type information, no member the list does not name.
A listed name that no OBJECT defines is an error, so the DLL cannot quietly lack a promise.
Exit code 0 when written, 1 when a listed name is missing, 2 when the list or a tool fails.
"""
import argparse
import importlib.machinery
import pathlib
import subprocess
import sys
import types

NM = "x86_64-w64-mingw32-nm"


def load_checker():
    path = pathlib.Path(__file__).with_name("check-family-boundary.py")
    loader = importlib.machinery.SourceFileLoader("check_family_boundary", str(path))
    module = types.ModuleType(loader.name)
    loader.exec_module(module)
    return module


def defined_symbols(objects):
    """{symbol: kind letter} of the external symbols the objects define."""
    out = subprocess.run([NM, "--defined-only", "--extern-only", *objects], check=True,
                         capture_output=True, text=True).stdout
    symbols = {}
    for line in out.splitlines():
        parts = line.split()
        if len(parts) == 3:
            symbols[parts[2]] = parts[1]
    return symbols


def exports_for(library, symbols, demangled):
    """(export lines, missing listed entries) for one library of the list."""
    lines, found_members = [], set()
    missing = []
    for name in list(library.functions) + list(library.data):
        if name not in symbols:
            missing.append(name)
        elif name in library.data:
            lines.append(f"    {name} DATA")
        else:
            lines.append(f"    {name}")
    for symbol in sorted(symbols):
        shown = demangled.get(symbol)
        if shown in library.members:
            lines.append(f"    {symbol}")
            found_members.add(shown)
    missing += [m for m in library.members if m not in found_members]
    return lines, missing


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--list", required=True)
    parser.add_argument("--library", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("objects", nargs="+")
    args = parser.parse_args(argv)
    checker = load_checker()
    try:
        libraries = checker.parse_contract(pathlib.Path(args.list).read_text(encoding="utf-8"))
        library = libraries.get(args.library.lower())
        if library is None:
            raise checker.ListError(f"the list has no section [{args.library}]")
        symbols = defined_symbols(args.objects)
        demangled = checker.demangle(sorted(s for s in symbols if s.startswith("_Z")))
    except (checker.ListError, OSError, subprocess.CalledProcessError, RuntimeError) as e:
        print(f"family-def: cannot write {args.out}: {e}", file=sys.stderr)
        return 2
    lines, missing = exports_for(library, symbols, demangled)
    if missing:
        for entry in missing:
            print(f"family-def: {args.library} promises {entry}, but no object defines it",
                  file=sys.stderr)
        return 1
    text = f"LIBRARY {library.name}\nEXPORTS\n" + "\n".join(lines) + "\n"
    out = pathlib.Path(args.out)
    # Rewritten only when it changes, so the DLL is not linked again for nothing.
    if not out.exists() or out.read_text(encoding="utf-8") != text:
        out.write_text(text, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

#!/usr/bin/env python3
"""Checks that the program and the family stand-ins lean only on what the family libraries promise.

Usage: check-family-boundary.py --list LIST --boundary DIR [--compiler CXX] [--include DIR]...
                                [--define NAME[=VALUE]]... [--work DIR] MODULE...
       check-family-boundary.py --list LIST --exports LIBRARY DLL

Two checks, one report:
- Imports. Every name each MODULE (.exe or .dll) imports from a library that has a section in
  LIST must be listed there: flat functions and data by name, C++ members by their demangled
  signature, so an added argument, another overload or a lost const shows. An import by ordinal
  fails, as only names are promised.
- Declarations. An import table holds no types for C functions, so a generated file checks each
  listed flat function and data item against the headers in DIR (compiled with CXX, the include
  folders and definitions of the program): its declared type must be exactly the listed one,
  and no default argument may let a caller leave out a listed argument. A listed name that DIR
  does not declare is fine as long as no module imports it.
With --exports, one other check instead: the export table of DLL, a build of the list's
LIBRARY, must hold exactly what the list promises for it: every listed name, and nothing else
(no further function or member, no vtable or type information), members again compared by
their demangled signature (a constructor's several symbols all count as the one listed member).
Prints each problem on its own line; exit code 0 when there is none, 1 when there are, 2 when
the check itself cannot run (an unreadable list, a missing tool).
"""
import argparse
import os
import pathlib
import re
import subprocess
import sys
import tempfile

OBJDUMP = "x86_64-w64-mingw32-objdump"
CXXFILT = "x86_64-w64-mingw32-c++filt"
DEFAULT_CXX = "x86_64-w64-mingw32-g++-posix"
CHECK_FILE = "family_boundary_checks.cpp"


class ListError(Exception):
    pass


class Library:
    def __init__(self, name):
        self.name = name
        self.members = {}    # demangled signature -> line number
        self.functions = {}  # name -> function type
        self.data = {}       # name -> type


def split_function_type(text):
    """"R(P1, P2, ...)" -> ("R", ["P1", "P2"], variadic); None when text is no function type."""
    text = text.strip()
    if not text.endswith(")"):
        return None
    depth = 0
    for i in range(len(text) - 1, -1, -1):
        depth += {")": 1, "(": -1}.get(text[i], 0)
        if depth == 0:
            break
    result, inner = text[:i].strip(), text[i + 1:-1]
    if not result:
        return None
    params, piece, depth = [], "", 0
    for ch in inner:
        depth += {"(": 1, "<": 1, "[": 1, ")": -1, ">": -1, "]": -1}.get(ch, 0)
        if ch == "," and depth == 0:
            params.append(piece.strip())
            piece = ""
        else:
            piece += ch
    if piece.strip() and piece.strip() != "void":
        params.append(piece.strip())
    variadic = bool(params) and params[-1] == "..."
    return result, params[:-1] if variadic else params, variadic


def parse_contract(text):
    """The list's sections as {lower-case file name: Library}, in the list's order."""
    libraries, current, owner = {}, None, {}
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        where = f"line {number}"
        section = re.fullmatch(r"\[(\S+)\]", line)
        if section:
            current = libraries.setdefault(section.group(1).lower(), Library(section.group(1)))
            continue
        if current is None:
            raise ListError(f"{where}: entry before the first [library] section")
        kind, _, rest = line.partition(" ")
        rest = " ".join(rest.split())
        if kind == "member":
            if not re.fullmatch(r"[A-Za-z_]\w*::~?[A-Za-z_]\w*\(.*\)( const)?", rest):
                raise ListError(f"{where}: a member needs Class::Name(arguments): {rest!r}")
            if rest in current.members:
                raise ListError(f"{where}: {rest} is listed twice")
            current.members[rest] = number
            continue
        if kind not in ("function", "data"):
            raise ListError(f"{where}: unknown entry {kind!r} (member, function or data)")
        name, _, declared = rest.partition(" ")
        if not re.fullmatch(r"[A-Za-z_]\w*", name) or not declared:
            raise ListError(f"{where}: {kind} needs a name and a type: {rest!r}")
        if kind == "function" and split_function_type(declared) is None:
            raise ListError(f"{where}: {declared!r} is no function type such as int(const char*)")
        if name in owner:
            raise ListError(f"{where}: {name} is listed twice ({owner[name].name})")
        owner[name] = current
        (current.functions if kind == "function" else current.data)[name] = declared
    return libraries


def parse_imports(objdump_text):
    """(library, name, ordinal) for every import in objdump -p output; name None by ordinal."""
    imports, library, inside = [], None, False
    for line in objdump_text.splitlines():
        if line.startswith("The Import Tables"):
            inside = True
        elif inside and line and not line[0].isspace():
            break  # the next part of the dump (export table, function table, ...)
        elif inside:
            dll = re.match(r"\tDLL Name: (\S+)", line)
            entry = re.match(r"\t[0-9a-fA-F]+\t\s*(\d+)\s+(\S+)", line)
            if dll:
                library = dll.group(1)
            elif entry and library:
                name = None if entry.group(2) == "<none>" else entry.group(2)
                imports.append((library, name, int(entry.group(1)) if name is None else None))
    return imports


def parse_exports(objdump_text):
    """The exported names in objdump -p output, in the table's order."""
    names, inside = [], False
    for line in objdump_text.splitlines():
        if "[Ordinal/Name Pointer] Table" in line:
            inside = True
        elif inside:
            entry = re.match(r"\s*\[\s*\d+\]\s+(\S+)", line)
            if entry:
                names.append(entry.group(1))
            elif names:
                break
    return names


def check_exports(library, module, exports, demangled):
    """Problems of one DLL's export table against its library's section of the list."""
    problems, members = [], set()
    for name in exports:
        shown = demangled.get(name, name)
        if name in library.functions or name in library.data:
            continue
        if shown in library.members:
            members.add(shown)
            continue
        problem = f"{module} exports {shown} (not promised)"
        if problem not in problems:  # a constructor's several symbols read the same
            problems.append(problem)
    exported = set(exports)
    for name in list(library.functions) + list(library.data):
        if name not in exported:
            problems.append(f"{module} does not export {name}")
    for member in library.members:
        if member not in members:
            problems.append(f"{module} does not export {member}")
    return problems


def exports_main(libraries, library_name, modules):
    """The --exports check; the exit code."""
    library = libraries.get(library_name.lower())
    if library is None:
        raise ListError(f"the list has no section [{library_name}]")
    problems = []
    for module in modules:
        dump = subprocess.run([OBJDUMP, "-p", module], check=True, capture_output=True,
                              text=True).stdout
        exports = parse_exports(dump)
        names = sorted({n for n in exports if n.startswith("_Z")})
        problems += check_exports(library, pathlib.Path(module).name, exports, demangle(names))
        print(f"{pathlib.Path(module).name} exports {len(exports)} names; "
              f"{library.name} promises {len(library.functions) + len(library.data)} flat "
              f"names and {len(library.members)} members")
    for problem in problems:
        print(f"  {problem}")
    if problems:
        print(f"FAILED: {len(problems)} differences from the promised export table")
        return 1
    print("OK: the export table is exactly the promised one")
    return 0


def demangle(names):
    """Each name as c++filt reads it (plain C names come back unchanged)."""
    if not names:
        return {}
    out = subprocess.run([CXXFILT], input="\n".join(names) + "\n", check=True,
                         capture_output=True, text=True).stdout.splitlines()
    if len(out) != len(names):
        raise RuntimeError(f"{CXXFILT} answered {len(out)} lines for {len(names)} names")
    return dict(zip(names, out))


def member_hint(library, signature):
    """What the list allows instead of an unlisted member, when it says something useful."""
    qualified = signature.split("(", 1)[0]
    same = [m for m in library.members if m.split("(", 1)[0] == qualified]
    if same:
        return "the list allows " + "; ".join(same)
    cls = qualified.split("::", 1)[0]
    others = [m.split("::", 1)[1] for m in library.members if m.startswith(cls + "::")]
    if others:
        return f"{cls} promises " + "; ".join(others)
    return f"the list promises no class {cls}"


def check_imports(libraries, module, imports, demangled):
    """Problems of one module's imports, and the names it imports from the family."""
    problems, used = [], set()
    for dll, name, ordinal in imports:
        library = libraries.get(dll.lower())
        if library is None:
            continue  # a system library
        if name is None:
            problems.append(f"{module} imports ordinal {ordinal} from {dll}: "
                            "only names are promised")
            continue
        shown = demangled.get(name, name)
        used.add(name)
        if shown in library.members or name in library.functions or name in library.data:
            continue
        if name.startswith("_Z") and "::" in shown:
            hint = member_hint(library, shown)
        else:
            elsewhere = [lib.name for lib in libraries.values()
                         if name in lib.functions or name in lib.data or shown in lib.members]
            hint = f"the list has it for {elsewhere[0]}" if elsewhere else "not promised"
        problems.append(f"{module} imports {shown} from {dll} ({hint})")
    return problems, used


def generate_checks(libraries, headers):
    """The checks' source and, per line, what a diagnostic on that line is about."""
    lines = ["// Generated by check-family-boundary.py: every listed flat declaration of the",
             "// family's headers, checked against the list.",
             "#include <type_traits>"]
    lines += [f'#include "{h}"' for h in headers]
    about, n = {}, 0
    for library in libraries.values():
        for name, declared in list(library.functions.items()) + list(library.data.items()):
            n += 1
            pointer = f"std::add_pointer_t<{declared}>"
            # Initialising a pointer of the listed type picks the declaration of exactly that type
            # among inline C++ overloads, and names the declared type when there is none.
            check = f"void check{n}() {{ [[maybe_unused]] {pointer} p = &{name};"
            if name in library.data:
                check += f" static_assert(std::is_same_v<decltype(&{name}), {pointer}>);"
            lines.append(check + " }")
            about[len(lines)] = ("type", library, name, declared)
            params = split_function_type(declared)[1] if name in library.functions else []
            if params:
                # Default arguments are trailing: if any exists, a call without the last works.
                args = ", ".join(params[:-1])
                lines.append(f"template <typename... A> concept calls{n} = "
                             f"requires(A... a) {{ {name}(a...); }}; "
                             f"static_assert(!calls{n}<{args}>);")
                about[len(lines)] = ("default", library, name, declared)
    return "\n".join(lines) + "\n", about, n


def parse_diagnostics(stderr, source):
    """[(file, line, severity, message)] of a compiler run with plain diagnostics."""
    found = []
    for line in stderr.splitlines():
        m = re.match(r"(.*?):(\d+):(?:\d+:)? (error|note|warning): (.*)", line)
        if m:
            where = "check" if pathlib.Path(m.group(1)).name == source else m.group(1)
            found.append((where, int(m.group(2)), m.group(3), m.group(4)))
    return found


def summarise(kind, library, name, declared, diagnostics, used):
    """One problem line for the diagnostics of one check line, or None."""
    errors = [msg for severity, msg in diagnostics if severity == "error"]
    if not errors:
        return None
    what = f"{name} ({library.name})"
    if kind == "default":
        # Any other error here has the same cause as the type line's, which reports it.
        if not errors[0].startswith("static assertion failed"):
            return None
        return f"{what} can be called without its last argument (a default argument); " \
               f"the list has {declared}"
    first = errors[0]
    if re.match(rf"'{name}' was not declared", first):
        return None if name not in used else \
            f"{what} is imported, but no header in boundary/ declares it"
    declared_as = re.match(r"(?:invalid conversion from|cannot convert) '(.*?)'(?: \{aka| to)",
                           first)
    if declared_as:
        # The compiler names the pointer type; the list writes what it points to.
        pointee = declared_as.group(1).replace(" (*)", "", 1)
        return f"{what} is declared {pointee}; the list allows {declared}"
    if first.startswith("no matches converting function"):
        candidates = [re.search(r"'(.*)'", msg).group(1) for severity, msg in diagnostics
                      if severity == "note" and re.search(r"'(.*)'", msg)]
        return f"{what} is declared only as {'; '.join(candidates)}; the list allows {declared}"
    if first.startswith("static assertion failed"):
        return f"{what} is declared with another type than the listed {declared}"
    return f"{what} does not compile as {declared}: {first}"


def check_declarations(libraries, boundary, compiler, includes, defines, work, used):
    """Problems of the listed flat declarations in the headers of boundary."""
    headers = sorted(p.name for p in pathlib.Path(boundary).glob("*.h"))
    source, about, checked = generate_checks(libraries, headers)
    path = pathlib.Path(work) / CHECK_FILE
    path.write_text(source, encoding="utf-8")
    command = [compiler, "-std=c++20", "-fsyntax-only", "-fdiagnostics-plain-output",
               "-I", str(boundary)] + [f"-I{d}" for d in includes] + \
              [f"-D{d}" for d in defines] + [str(path)]
    # Plain ASCII quotes in the messages, whatever the caller's locale.
    run = subprocess.run(command, capture_output=True, text=True,
                         env=dict(os.environ, LC_ALL="C"))
    per_line, elsewhere, current = {}, [], None
    for where, line, severity, message in parse_diagnostics(run.stderr, CHECK_FILE):
        if severity == "error":
            current = line if where == "check" and line in about else None
            if current is None:
                elsewhere.append(f"{where}:{line}: {message}")
        if current is not None and severity in ("error", "note"):
            per_line.setdefault(current, []).append((severity, message))
    problems, reported = [], set()
    for line, diagnostics in sorted(per_line.items()):
        kind, library, name, declared = about[line]
        # A call without the last argument also works when the declaration has fewer
        # arguments than listed; the type line has reported that already.
        if kind == "default" and name in reported:
            continue
        problem = summarise(kind, library, name, declared, diagnostics, used)
        if problem:
            problems.append(problem)
            reported.add(name)
    problems += [f"the family's headers do not compile: {e}" for e in elsewhere]
    if run.returncode != 0 and not per_line and not elsewhere:
        problems.append(f"{compiler} failed on {path}:\n{run.stderr}")
    return problems, checked, path


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--list", required=True)
    parser.add_argument("--exports", metavar="LIBRARY",
                        help="check the export tables of the modules against this library")
    parser.add_argument("--boundary")
    parser.add_argument("--compiler", default=DEFAULT_CXX)
    parser.add_argument("--include", action="append", default=[])
    parser.add_argument("--define", action="append", default=[])
    parser.add_argument("--work", help="folder for the generated checks (default: temporary)")
    parser.add_argument("modules", nargs="+")
    args = parser.parse_args(argv)
    if not args.exports and not args.boundary:
        parser.error("--boundary is needed unless --exports is given")
    try:
        libraries = parse_contract(pathlib.Path(args.list).read_text(encoding="utf-8"))
        if args.exports:
            return exports_main(libraries, args.exports, args.modules)
        problems, used, counts = [], set(), []
        for module in args.modules:
            dump = subprocess.run([OBJDUMP, "-p", module], check=True, capture_output=True,
                                  text=True).stdout
            imports = parse_imports(dump)
            names = sorted({n for _, n, _ in imports if n and n.startswith("_Z")})
            found, names_used = check_imports(libraries, pathlib.Path(module).name, imports,
                                              demangle(names))
            problems += found
            used |= names_used
            counts.append(f"{pathlib.Path(module).name} {len(names_used)}")
        with tempfile.TemporaryDirectory() as scratch:
            found, checked, generated = check_declarations(
                libraries, args.boundary, args.compiler, args.include, args.define,
                args.work or scratch, used)
        problems += found
    except (ListError, OSError, subprocess.CalledProcessError, RuntimeError) as e:
        print(f"check-family-boundary: cannot check: {e}", file=sys.stderr)
        return 2
    print(f"names imported from the family: {', '.join(counts)}; "
          f"{checked} listed declarations checked; list {args.list}")
    for problem in problems:
        print(f"  {problem}")
    if problems:
        where = f" (generated checks: {generated})" if args.work else ""
        uses = "1 use" if len(problems) == 1 else f"{len(problems)} uses"
        print(f"FAILED: {uses} of the family beyond its promise{where}")
        return 1
    print("OK: every import and every listed declaration is as promised")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

#!/usr/bin/env python3
"""Checks every #include in src/ against the README's table of libraries.

The table ("Layout of the sources" in README.md) is the one source of truth: the build
reads it through this script too (--deps), to refuse a library whose dependencies leave it.

A row names a library, its folders (a folder, a glob such as `src/*/gui`, optionally with
file-name patterns in parentheses) and the libraries and outside packages it may use. A
library may include its own headers, those of the libraries it may use and, in turn, of
the libraries those may use. Headers never include each other in a loop. "all of the above" names every library of the rows above;
"but X and Y" takes those away. A file in a folder no row names is an error: a new folder gets its
row first.

  check_layers.py [--root DIR]          check src/ (exit 0 clean, 1 faults, 2 usage)
  check_layers.py --deps [--root DIR]   print "target=dep,dep..." for the build
"""
import argparse
import fnmatch
import functools
import os
import re
import sys

TABLE_HEADING = "## Layout of the sources"
SOURCE_SUFFIXES = (".h", ".cpp", ".inc")
# Outside packages as the table names them, and the headers that belong to them.
PACKAGES = {
    "SQLite": lambda h: h == "sqlite3.h",
    "zlib": lambda h: h == "zlib.h",
    "libdeflate": lambda h: h == "libdeflate.h",
    "libcurl": lambda h: h.startswith("curl/"),
    "libpq": lambda h: h in ("libpq-fe.h", "postgresql/libpq-fe.h"),
    "Qt Gui": lambda h: is_qt(h),
    "Qt Widgets": lambda h: is_qt(h),
}
QT_HEADER = re.compile(r"^Q[A-Za-z0-9]+$|^Qt[A-Za-z]+/")
QT_INCLUDE_ROOTS = ("/usr/include/x86_64-linux-gnu/qt6", "/usr/include/aarch64-linux-gnu/qt6",
                    "/usr/include/qt6")


def is_qt(header):
    return QT_HEADER.match(header) is not None


@functools.lru_cache(maxsize=None)
def qt_module(header):
    """QtCore, QtGui or QtWidgets for a Qt header; None when it cannot be told."""
    if "/" in header:
        return header.split("/")[0]
    for root in QT_INCLUDE_ROOTS:
        for module in ("QtCore", "QtGui", "QtWidgets", "QtNetwork", "QtTest"):
            if os.path.exists(os.path.join(root, module, header)):
                return module
    return None


class Row:
    def __init__(self, name, folders, patterns, uses, packages):
        self.name = name
        self.folders = folders
        self.patterns = patterns
        self.uses = uses
        self.packages = packages


def cells(line):
    return [c.strip() for c in line.strip().strip("|").split("|")]


def read_table(readme):
    """The rows of the libraries' table, in order; raises ValueError when it is unreadable."""
    with open(readme, encoding="utf-8") as f:
        lines = f.read().splitlines()
    try:
        start = lines.index(TABLE_HEADING)
    except ValueError:
        raise ValueError(f"{readme}: no section '{TABLE_HEADING}'")
    rows = []
    in_table = False
    for line in lines[start + 1:]:
        if line.startswith("## "):
            break
        if not line.startswith("|"):
            if in_table:
                break
            continue
        in_table = True
        c = cells(line)
        if c[0] == "library" or set(c[0]) <= set("-: "):
            continue
        if len(c) < 3:
            raise ValueError(f"{readme}: a row of the libraries' table has too few cells: {line}")
        name = c[0].strip("`")
        folders, patterns = [], []
        for part in re.finditer(r"`([^`]+)`(\s*\(([^)]*)\))?", c[1]):
            folders.append(part.group(1).rstrip("/"))
            if part.group(3):
                patterns += re.findall(r"`([^`]+)`", part.group(3))
        uses, packages = [], []
        text = c[2]
        if text.startswith("all of the above"):
            uses = [r.name for r in rows]
            but = re.match(r"all of the above but ([\w ]+)", text)
            excluded = but.group(1).split(" and ") if but else []
            uses = [u for u in uses if short(u) not in [e.strip() for e in excluded]]
            text = re.sub(r"^all of the above( but [\w ]+)?", "", text)
        for word in [w.strip() for w in text.split(",")]:
            if word in ("", "—", "-"):
                continue
            if word in PACKAGES:
                packages.append(word)
            else:
                uses.append("velmora_" + word)
        rows.append(Row(name, folders, patterns, uses, packages))
    if not rows:
        raise ValueError(f"{readme}: the libraries' table is empty")
    names = {r.name for r in rows}
    for r in rows:
        for u in r.uses:
            if u not in names:
                raise ValueError(f"{readme}: {r.name} may use '{short(u)}', which no row names")
    return rows


def short(name):
    return name[len("velmora_"):] if name.startswith("velmora_") else name


def closure(rows):
    """For each library: itself and everything it may use, directly or in turn."""
    by_name = {r.name: r for r in rows}
    result = {}

    def visit(name, seen):
        if name in seen:
            return
        seen.add(name)
        for u in by_name[name].uses:
            visit(u, seen)

    for r in rows:
        seen = set()
        visit(r.name, seen)
        result[r.name] = seen
    return result


def owner(rows, path):
    """The row whose folder holds path (relative to the root): an exact folder beats a
    glob, a row whose file patterns match beats one without patterns."""
    folder, file_name = os.path.split(path)
    stem = os.path.splitext(file_name)[0]
    probe = folder
    while probe:
        best = None
        for r in rows:
            for f in r.folders:
                exact = f == probe
                if not exact and not ("*" in f and fnmatch.fnmatchcase(probe, f)):
                    continue
                if r.patterns:
                    if probe != folder or not any(fnmatch.fnmatchcase(stem, p) for p in r.patterns):
                        continue
                rank = (2 if exact else 0) + (1 if r.patterns else 0)
                if best is None or rank > best[0]:
                    best = (rank, r)
        if best is not None:
            return best[1]
        probe = os.path.dirname(probe)
        if probe in ("", "src"):
            break
    return None


INCLUDE = re.compile(r'^[ \t]*#[ \t]*include\s*([<"])([^>"]+)[>"]', re.M)


def header_loops(root, headers):
    """Include loops among the headers of src/ (each one once, from its first header)."""
    loops, state = [], {}

    def visit(header, path):
        state[header] = "open"
        path.append(header)
        for target in headers.get(header, ()):
            if state.get(target) == "open":
                loops.append(path[path.index(target):] + [target])
            elif target not in state:
                visit(target, path)
        path.pop()
        state[header] = "done"

    for header in sorted(headers):
        if header not in state:
            visit(header, [])
    return loops


def check(root, rows):
    faults = []
    headers = {}  # header below src/ -> the headers below src/ it includes
    allowed = closure(rows)
    by_name = {r.name: r for r in rows}
    src = os.path.join(root, "src")
    for directory, dirs, files in os.walk(src):
        dirs.sort()
        for file_name in sorted(files):
            if not file_name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.relpath(os.path.join(directory, file_name), root)
            row = owner(rows, path)
            if row is None:
                faults.append(f"{path}: folder {os.path.dirname(path)} is not in the README's table "
                              f"of libraries (add a row for it)")
                continue
            packages = set()
            for lib in allowed[row.name]:
                packages.update(by_name[lib].packages)
            with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
                text = f.read()
            if file_name.endswith(".h"):
                headers[os.path.relpath(path, "src")] = [
                    h for k, h in INCLUDE.findall(text)
                    if k == '"' and os.path.exists(os.path.join(src, h))]
            for match in INCLUDE.finditer(text):
                kind, header = match.group(1), match.group(2)
                line = text.count("\n", 0, match.start()) + 1
                where = f"{path}:{line}"
                if kind == '"':
                    fault = check_quoted(root, rows, allowed, row, path, header)
                else:
                    fault = check_system(row, packages, header)
                if fault:
                    faults.append(f"{where}: {fault}")
    for loop in header_loops(root, headers):
        faults.append(f"src/{loop[0]}: include loop: {' -> '.join(loop)}")
    return faults


def check_quoted(root, rows, allowed, row, path, header):
    beside = os.path.normpath(os.path.join(os.path.dirname(path), header))
    if "/" not in header:
        # A header beside the file (or one the build generates there) stays in its library.
        return None
    target = os.path.normpath(os.path.join("src", header))
    if not os.path.exists(os.path.join(root, target)):
        if os.path.exists(os.path.join(root, beside)):
            target = beside
        else:
            return f'"{header}" is no header of src/'
    target_row = owner(rows, target)
    if target_row is None:
        return f'"{header}" lies in a folder the README\'s table does not name'
    if target_row.name not in allowed[row.name]:
        return (f"{row.name} may not include \"{header}\" ({target_row.name}); "
                f"it may use {', '.join(sorted(short(u) for u in allowed[row.name] - {row.name})) or 'nothing'}")
    return None


def check_system(row, packages, header):
    for package, belongs in PACKAGES.items():
        if package.startswith("Qt"):
            continue
        if belongs(header) and package not in packages:
            return f"{row.name} may not include <{header}> ({package})"
    if is_qt(header):
        if not any(p.startswith("Qt") for p in packages):
            return f"{row.name} is free of Qt but includes <{header}>"
        if "Qt Widgets" not in packages and qt_module(header) == "QtWidgets":
            return f"{row.name} may use Qt Gui only but includes <{header}> (Qt Widgets)"
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser.add_argument("--deps", action="store_true", help="print each library's allowed libraries")
    try:
        args = parser.parse_args()
    except SystemExit as e:
        return 2 if e.code else 0
    try:
        rows = read_table(os.path.join(args.root, "README.md"))
    except (OSError, ValueError) as e:
        print(f"check_layers: {e}", file=sys.stderr)
        return 1
    if args.deps:
        for name, libs in closure(rows).items():
            print(f"{name}={','.join(sorted(libs - {name}))}")
        return 0
    faults = check(args.root, rows)
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        print(f"check_layers: {len(faults)} fault(s) against the README's table of libraries",
              file=sys.stderr)
        return 1
    print(f"check_layers: every include of src/ keeps to the {len(rows)} rows of the table")
    return 0


if __name__ == "__main__":
    sys.exit(main())

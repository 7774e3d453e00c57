#!/usr/bin/env python3
"""Counts the methods and fields a class declares, from clang's AST of one source file
that includes its header (flags from build/compile_commands.json).

    scripts/class-size.py CAcquisitionEngine src/acquisition/acquisition_engine.cpp [-v]

Methods: the member functions, constructors, destructors and operators the class
declares itself, deleted ones included; not the implicit ones, nor those a macro
(Q_OBJECT) declares. Fields: the non-static data members; flags: those of type bool."""
import json
import os
import shlex
import subprocess
import sys


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    cls, source = sys.argv[1], os.path.abspath(sys.argv[2])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    commands = json.load(open(os.path.join(root, "build", "compile_commands.json")))
    entry = next((e for e in commands if e["file"] == source), None)
    if entry is None:
        sys.exit("no compile command for " + source)
    args, skip = [], False
    for arg in shlex.split(entry["command"])[1:]:
        if skip:
            skip = False
        elif arg in ("-o", "-c"):
            skip = True
        elif not arg.startswith(("-W", "-O")):
            args.append(arg)
    result = subprocess.run(
        ["clang++", "-fsyntax-only", "-Xclang", "-ast-dump=json", "-Xclang",
         "-ast-dump-filter=" + cls] + args + [source],
        capture_output=True, text=True, cwd=entry["directory"])
    decoder, text, at, record = json.JSONDecoder(), result.stdout, 0, None
    while at < len(text):
        while at < len(text) and text[at].isspace():
            at += 1
        if at >= len(text):
            break
        if text.startswith("Dumping", at):
            at = text.index("\n", at) + 1
            continue
        node, at = decoder.raw_decode(text, at)
        if (node.get("kind") == "CXXRecordDecl" and node.get("name") == cls
                and node.get("completeDefinition")):
            record = node
    if record is None:
        sys.exit("class %s not found:\n%s" % (cls, result.stderr[-2000:]))
    methods, fields, flags = [], [], 0
    for node in record.get("inner", []):
        location = node.get("loc", {})
        if node.get("isImplicit") or "expansionLoc" in location:
            continue
        kind = node.get("kind")
        if kind in ("CXXMethodDecl", "CXXConstructorDecl", "CXXDestructorDecl",
                    "CXXConversionDecl"):
            methods.append(node["name"])
        elif kind == "FieldDecl":
            fields.append(node["name"])
            flags += node["type"]["qualType"] == "bool"
    print("%s: %d methods, %d fields (%d bool flags)" % (cls, len(methods), len(fields), flags))
    if "-v" in sys.argv:
        print("  methods: " + " ".join(methods))
        print("  fields: " + " ".join(fields))


if __name__ == "__main__":
    main()

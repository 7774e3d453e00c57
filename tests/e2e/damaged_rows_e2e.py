#!/usr/bin/env python3
"""End to end: value rows damaged by another program (random bytes, a truncated blob, NULL,
text, a wrong number of cells, a zlib bomb), missing item rows and a count without rows.
export, copy, show and chart write what could be read, say "K of N data sets could not be
read" on stderr and exit 1; a whole acquisition still exits 0."""
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import zlib

cli, demo = sys.argv[1], sys.argv[2]
env = dict(os.environ)


def bomb(cells):
    """About 1 MB of blob inflating to 1 GB: one huge well-formed first cell."""
    z = zlib.compressobj(9)
    out = [z.compress(b"x" * (1 << 20)) for _ in range(1024)]
    out.append(z.compress(b";;" * cells))
    out.append(z.flush())
    return b"".join(out)


with tempfile.TemporaryDirectory() as folder:
    env["XDG_CONFIG_HOME"] = folder
    base = os.path.join(folder, "Velmora.sq3")

    def run(*args, code=0):
        result = subprocess.run([cli, *args], capture_output=True, env=env, timeout=240)
        if code is not None and result.returncode != code:
            sys.exit("%s exited %d, want %d: %s" % (" ".join(args), result.returncode, code,
                                                   result.stderr[-400:].decode("latin-1")))
        return result

    run("db", "init", "--database", base)
    run("project", "import", demo, "--database", base)
    name = sqlite3.connect(base).execute("select OPCPrj_Name from OPCPrj").fetchone()[0]
    run("acquire", "--database", base, "--project", name, "--seconds", "12", "--simulated-clock")
    con = sqlite3.connect(base)
    total = con.execute("select count(*) from OPCAcqData where OPCAcq_Id = 1").fetchone()[0]
    items = con.execute("select count(*) from OPCAcqItem").fetchone()[0]
    con.close()
    assert total >= 10, total

    for action in ("export", "copy", "show"):
        result = run("acquisitions", action, "1", "--database", base)
        assert b"could not be read" not in result.stderr, result.stderr

    second = "(select min(OPCAcqData_Id) + 1 from OPCAcqData where OPCAcq_Id = 1)"
    truncated = "substr(OPCAcqData_Value, 1, length(OPCAcqData_Value) / 2)"
    one_cell = zlib.compress(b"1.0;;")
    cases = [
        ("random bytes", "update OPCAcqData set OPCAcqData_Value = randomblob(300) where "
         "OPCAcqData_Id = " + second, 1, total),
        ("truncated", "update OPCAcqData set OPCAcqData_Value = %s where OPCAcqData_Id = %s"
         % (truncated, second), 1, total),
        ("null", "update OPCAcqData set OPCAcqData_Value = NULL where OPCAcqData_Id = " + second,
         1, total),
        ("text", "update OPCAcqData set OPCAcqData_Value = '1;;2;;' where OPCAcqData_Id = "
         + second, 1, total),
        ("wrong cell count", "update OPCAcqData set OPCAcqData_Value = X'%s' where "
         "OPCAcqData_Id = %s" % (one_cell.hex(), second), 1, total),
        ("zlib bomb", "update OPCAcqData set OPCAcqData_Value = X'%s' where OPCAcqData_Id = %s"
         % (bomb(items).hex(), second), 1, total),
        ("missing item rows", "delete from OPCAcqItem", total, total),
        ("count without rows", "delete from OPCAcqData where OPCAcq_Id = 1; update OPCAcq set "
         "OPCAcq_DataCount = 20 where OPCAcq_Id = 1", 20, 20),
    ]
    for label, sql, bad, of in cases:
        path = os.path.join(folder, label.replace(" ", "_") + ".sq3")
        shutil.copy(base, path)
        con = sqlite3.connect(path)
        con.executescript(sql)
        con.close()
        line = "%d of %d data sets could not be read" % (bad, of)
        out = os.path.join(folder, label.replace(" ", "_") + ".csv")
        for args in (("acquisitions", "export", "1", "--output", out),
                     ("acquisitions", "export", "1"), ("acquisitions", "copy", "1"),
                     ("acquisitions", "show", "1"),
                     ("chart", "1", "--output", out[:-4] + ".png")):
            result = run(*args, "--database", path, code=1)
            assert line.encode() in result.stderr, (label, args, result.stderr[-300:])
        # What could be read was written: every row there is, the damaged one by its time.
        with open(out, "rb") as f:
            lines = f.read().split(b"\r\n")
        rows = total if label != "count without rows" else 0
        assert len(lines) == rows + 2 and lines[-1] == b"", (label, len(lines))
        if rows and label != "missing item rows":
            assert all(l.count(b";") == items for l in lines[:-1]), label
        if label == "zlib bomb":
            assert os.path.getsize(out) < 1 << 20, os.path.getsize(out)
print("damaged rows ok: %d cases through export, copy, show and chart" % len(cases))

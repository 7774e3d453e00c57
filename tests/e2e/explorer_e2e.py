#!/usr/bin/env python3
"""End to end: velmora-cli records the demo project, then lists, exports and copies the
recorded acquisition; every exported byte is checked against the database read back
independently (sqlite3 + zlib + the stored value format), and the usage and refusal exit
codes are checked."""
import os
import sqlite3
import subprocess
import sys
import tempfile
import zlib

cli, demo = sys.argv[1], sys.argv[2]
env = dict(os.environ)


def decode_row(blob):
    """The cells of a stored value text: text ';' [marks] ';', with %3B and %25 decoded."""
    text = zlib.decompress(blob).decode("latin-1")
    parts = text.split(";")
    cells = []
    for i in range(0, len(parts) - 1, 2):
        cells.append(parts[i].replace("%3B", ";").replace("%25", "%"))
    return cells


def field(text, separator):
    if any(c in text for c in (separator, '"', "\r", "\n")):
        return '"' + text.replace('"', '""') + '"'
    return text


with tempfile.TemporaryDirectory() as folder:
    env["XDG_CONFIG_HOME"] = folder
    db = os.path.join(folder, "Velmora.sq3")

    def run(*args, code=0):
        result = subprocess.run([cli, *args], capture_output=True, env=env)
        if code is not None and result.returncode != code:
            sys.exit("%s exited %d, want %d: %s" % (" ".join(args), result.returncode, code,
                                                   result.stderr[-400:].decode("latin-1")))
        return result

    run("db", "init", "--database", db)
    run("project", "import", demo, "--database", db)
    con = sqlite3.connect(db)
    name = con.execute("select OPCPrj_Name from OPCPrj").fetchone()[0]
    run("acquire", "--database", db, "--project", name, "--seconds", "20", "--simulated-clock")

    listing = run("acquisitions", "list", "--database", db).stdout.decode("latin-1").splitlines()
    assert listing[0].startswith("Project Id\tOPC Server Id\t"), listing[0]
    assert len(listing) == 2 and listing[1].startswith("1\t"), listing

    titles = ["OPC Acquisition Time"] + [r[0] for r in con.execute(
        "select OPCAcqItem_QualifiedName from OPCAcqItem i join OPCAcqGrp g using(OPCAcqGrp_Id)"
        " where g.OPCAcq_Id = 1 order by i.OPCAcqItem_Id")]
    rows = []
    for time, blob in con.execute("select OPCAcqData_Time, OPCAcqData_Value from OPCAcqData"
                                  " where OPCAcq_Id = 1 order by OPCAcqData_Id"):
        cells = decode_row(blob)
        cells += [""] * (len(titles) - 1 - len(cells))
        rows.append([time] + cells[:len(titles) - 1])
    assert len(rows) == 20, len(rows)

    for separator in (";", ","):
        expected = "".join(separator.join(field(c, separator) for c in line) + "\r\n"
                           for line in [titles] + rows).encode("latin-1")
        out = run("acquisitions", "export", "1", "--database", db, "--separator", separator).stdout
        assert out == expected, "export with %r differs from the database" % separator
        path = os.path.join(folder, "export.csv")
        with open(path, "wb") as existing:
            existing.write(b"x" * (len(expected) + 1000))
        run("acquisitions", "export", "1", "--database", db, "--separator", separator,
            "--output", path)
        assert open(path, "rb").read() == expected, "the file is not replaced whole"

    copied = run("acquisitions", "copy", "1", "--database", db).stdout
    expected = "".join("".join(c + "," for c in line) + "\r\n"
                       for line in [titles] + rows).encode("latin-1")
    assert copied == expected, "the clipboard text differs from the database"

    run("acquisitions", "export", "1", "--database", db, "--separator", "|", code=2)
    run("acquisitions", "show", "--database", db, code=2)
    run("acquisitions", "export", "7", "--database", db, code=1)
    refused = run("acquisitions", "delete", "1", "--database", db, code=None)
    assert refused.returncode in (1, 2), refused.returncode
    assert con.execute("select count(*) from OPCAcqData").fetchone()[0] == 20
print("explorer e2e ok")

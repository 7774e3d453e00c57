#!/usr/bin/env python3
"""End to end: a simulated 35-minute acquisition of the demo project with an incremental
backup every 10 minutes. Four CSV files (10, 20, 30 minutes and the final one) hold,
taken together, every recorded data set exactly once, with the values recorded."""
import os
import sqlite3
import subprocess
import sys
import tempfile
import zlib

cli, demo = sys.argv[1], sys.argv[2]
env = dict(os.environ)
with tempfile.TemporaryDirectory() as folder:
    env["XDG_CONFIG_HOME"] = folder
    db = os.path.join(folder, "Velmora.sq3")
    out = os.path.join(folder, "backups")
    os.mkdir(out)

    def run(*args, expect=0):
        result = subprocess.run([cli, *args], capture_output=True, text=True, env=env)
        if result.returncode != expect:
            sys.exit("%s gave %d, want %d: %s" % (" ".join(args), result.returncode, expect,
                                                   result.stderr[-400:]))
        return result

    run("db", "init", "--database", db)
    run("project", "import", demo, "--database", db)
    con = sqlite3.connect(db)
    name = con.execute("select OPCPrj_Name from OPCPrj").fetchone()[0]
    result = run("acquire", "--database", db, "--project", name, "--seconds", "2100",
                 "--simulated-clock", "--simulated-start", "2026-12-07T09:00:00Z",
                 "--backup-every", "10", "--backup-folder", out, "--backup-root", "Line1",
                 "--backup-type", "incremental", "--separator", ";")
    assert "Backups: 4 written to %s, 0 failed" % out in result.stdout, result.stdout[-300:]

    names = sorted(os.listdir(out))
    assert len(names) == 4, names
    for n in names:
        assert n.startswith("Line1_07_Dec_2026_") and n.endswith(".csv"), n

    rows = con.execute("select OPCAcqData_Time, OPCAcqData_Value from OPCAcqData"
                       " order by OPCAcqData_Id").fetchall()
    assert len(rows) == 2100, len(rows)
    recorded = []
    for time_text, blob in rows:
        fields = zlib.decompress(blob).decode("latin-1").split(";")[:-1]
        recorded.append([time_text] + fields[0::2])  # cell texts, without the status bits

    saved = []
    headers = set()
    # In time order (the names carry the time of one day): 10, 20, 30 minutes, the final.
    for n in names:
        data = open(os.path.join(out, n), "rb").read()
        assert data.endswith(b"\r\n") and b"\n" not in data.replace(b"\r\n", b""), n
        lines = data[:-2].decode("latin-1").split("\r\n")
        headers.add(lines[0])
        assert lines[0].startswith("Acquisition Date & Time;"), lines[0][:60]
        assert len(lines) > 1, n
        saved += [line.split(";") for line in lines[1:]]
    assert len(headers) == 1, headers
    assert len(headers.pop().split(";")) == len(recorded[0]), "header and rows differ"
    assert len(saved) == len(recorded), (len(saved), len(recorded))
    for index, (line, row) in enumerate(zip(saved, recorded)):
        assert line == row, (index, line[:4], row[:4])

    # A backup that cannot be written fails the run and says so.
    result = run("acquire", "--database", db, "--project", name, "--seconds", "120",
                 "--simulated-clock", "--backup-every", "1", "--backup-folder",
                 os.path.join(folder, "missing"), expect=1)
    assert "Backups: 0 written" in result.stdout and "3 failed" in result.stdout, result.stdout
    assert "Error Saving OPC Acquired Data to File" in result.stderr, result.stderr[-400:]
    # Options that do not fit together are a usage error.
    run("acquire", "--database", db, "--project", name, "--backup-every", "10", expect=2)
    run("acquire", "--database", db, "--project", name, "--backup-folder", out, expect=2)
    run("acquire", "--database", db, "--project", name, "--backup-every", "10",
        "--backup-folder", out, "--separator", "|", expect=2)
print("backups e2e ok")

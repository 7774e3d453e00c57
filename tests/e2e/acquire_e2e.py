#!/usr/bin/env python3
"""End to end: velmora-cli imports the demo project, acquires 30 simulated seconds and
records them; the database is then read back independently (sqlite3 + zlib)."""
import datetime
import os
import re
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

    def run(*args, check=True):
        result = subprocess.run([cli, *args], capture_output=True, text=True, env=env)
        if check and result.returncode != 0:
            sys.exit("%s failed (%d): %s" % (" ".join(args), result.returncode, result.stderr[-400:]))
        return result

    run("db", "init", "--database", db)
    run("project", "import", demo, "--database", db)
    con = sqlite3.connect(db)
    name = con.execute("select OPCPrj_Name from OPCPrj").fetchone()[0]
    out = run("acquire", "--database", db, "--project", name, "--seconds", "30",
              "--simulated-clock").stdout
    assert "30 data sets" in out, out[-300:]

    acq = con.execute("select OPCAcq_Id, OPCAcq_UpdateRate, OPCAcq_StartDate, OPCAcq_StartTime,"
                      " OPCAcq_EndDate, OPCAcq_EndTime, OPCAcq_DataCount, OPCacq_ServerGuid"
                      " from OPCAcq").fetchall()
    assert len(acq) == 1, acq
    aid, rate, sd, st, ed, et, count, guid = acq[0]
    assert rate == 1000, rate
    assert re.fullmatch(r"[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}", guid), guid
    assert re.fullmatch(r"\d\d/[A-Z][a-z]{2}/\d{4}", sd) and re.fullmatch(r"\d\d:\d\d:\d\d\.\d{3}", st)
    rows = con.execute("select OPCAcqData_Time, OPCAcqData_Value from OPCAcqData"
                       " where OPCAcq_Id = ? order by OPCAcqData_Id", (aid,)).fetchall()
    assert count == len(rows) == 30, (count, len(rows))
    assert rows[0][0] == sd + " " + st, (rows[0][0], sd, st)
    assert rows[-1][0] == ed + " " + et, (rows[-1][0], ed, et)

    items = con.execute("select i.OPCAcqItem_ItemType from OPCAcqItem i join OPCAcqGrp g"
                        " using(OPCAcqGrp_Id) where g.OPCAcq_Id = ? order by i.OPCAcqItem_Id",
                        (aid,)).fetchall()
    n = len(items)
    previous = None
    for index, (time_text, blob) in enumerate(rows):
        moment = datetime.datetime.strptime(time_text, "%d/%b/%Y %H:%M:%S.%f")
        if previous is not None:
            step = (moment - previous).total_seconds()
            assert 0.5 < step < 1.5, (index, step)
        previous = moment
        assert blob[0] == 0x78, "not a zlib stream"
        text = zlib.decompress(blob).decode("latin-1")
        fields = text.split(";")
        # String values may hold ";" themselves: at least two fields per item and a final "".
        assert len(fields) >= 2 * n + 1 and fields[-1] == "", (index, text[:120])
    print("acquire e2e ok: %d rows x %d items" % (len(rows), n))

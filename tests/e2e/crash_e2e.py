#!/usr/bin/env python3
"""End to end: velmora-cli acquire killed with SIGKILL at random moments of real-clock runs,
twenty times on one database. After every kill the file is intact, every data set the run
printed is stored, and no acquisition has a partial configuration snapshot; the run after
the last kill works."""
import os
import random
import re
import sqlite3
import subprocess
import sys
import tempfile
import time

cli, demo = sys.argv[1], sys.argv[2]
ITEMS = 29  # items of the demo project
LINE = re.compile(r"^\s*\d+\s+\d\d/[A-Z][a-z]{2}/\d{4} \d\d:\d\d:\d\d\.\d{3}", re.M)
random.seed(int(os.environ.get("VELMORA_CRASH_SEED", "12")))

with tempfile.TemporaryDirectory() as folder:
    env = dict(os.environ, XDG_CONFIG_HOME=folder)
    env.pop("VELMORA_SIM_CONFIG", None)
    db = os.path.join(folder, "Velmora.sq3")
    subprocess.run([cli, "db", "init", "--database", db], env=env, capture_output=True, check=True)
    subprocess.run([cli, "project", "import", demo, "--database", db], env=env,
                   capture_output=True, check=True)
    killed_during_start = 0
    for attempt in range(20):
        con = sqlite3.connect(db)
        before = con.execute("select coalesce(max(OPCAcq_Id), 0) from OPCAcq").fetchone()[0]
        con.close()
        out_path = os.path.join(folder, "out%d.txt" % attempt)
        with open(out_path, "w") as out:
            run = subprocess.Popen(["stdbuf", "-oL", cli, "acquire", "--database", db, "--project",
                                    "Demo Plant", "--seconds", "5"],
                                   env=env, stdout=out, stderr=subprocess.DEVNULL)
            # Mostly early, where the start is written; sometimes after a few data sets.
            time.sleep(random.choice([random.uniform(0.0, 0.04), random.uniform(0.04, 3.0)]))
            run.kill()
            run.wait()
        printed = len(LINE.findall(open(out_path).read()))
        con = sqlite3.connect(db)
        assert con.execute("pragma integrity_check").fetchone()[0] == "ok", "damaged after kill %d" % attempt
        stored = con.execute("select count(*) from OPCAcqData where OPCAcq_Id > ?", (before,)).fetchone()[0]
        assert stored >= printed, "kill %d: %d data sets printed, %d stored" % (attempt, printed, stored)
        snapshots = con.execute(
            "select a.OPCAcq_Id, (select count(*) from OPCAcqItem i join OPCAcqGrp g using (OPCAcqGrp_Id)"
            " where g.OPCAcq_Id = a.OPCAcq_Id) from OPCAcq a").fetchall()
        partial = [s for s in snapshots if s[1] != ITEMS]
        assert not partial, "kill %d: partial snapshots %s" % (attempt, partial)
        if not any(s[0] > before for s in snapshots):
            killed_during_start += 1
        con.close()
    result = subprocess.run([cli, "acquire", "--database", db, "--project", "Demo Plant",
                             "--seconds", "3", "--simulated-clock"], env=env, capture_output=True, text=True)
    assert result.returncode == 0, "the run after the kills failed: %s" % result.stderr[-300:]
    print("crash e2e ok: 20 kills (%d before the start was recorded), file intact" % killed_during_start)

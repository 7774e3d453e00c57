#!/usr/bin/env python3
"""End to end: velmora-cli acquire while other programs touch its database. The file is
replaced, the acquisition is deleted or repaired by another velmora-cli, two recorders
share the file, the server stays away until the end, a signal arrives during a lock wait.
Each run must say what happened: the exit code, the summary and the file agree."""
import os
import re
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

cli, demo = sys.argv[1], sys.argv[2]
DEMO = "Demo Plant"
folder = tempfile.mkdtemp()
env = dict(os.environ, XDG_CONFIG_HOME=folder)
env.pop("VELMORA_SIM_CONFIG", None)
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def fresh(name):
    path = os.path.join(folder, name)
    subprocess.run([cli, "db", "init", "--database", path], env=env, capture_output=True, check=True)
    subprocess.run([cli, "project", "import", demo, "--database", path], env=env,
                   capture_output=True, check=True)
    return path


def start(path, *args, extra_env=None):
    return subprocess.Popen([cli, "acquire", "--database", path, "--project", DEMO, *args],
                            env=dict(env, **(extra_env or {})), stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True)


def cli_run(*args):
    return subprocess.run([cli, *args], env=env, capture_output=True, text=True)


def summary(out):
    m = re.search(r"(\d+) data sets acquired, (\d+) recorded(?:, (\d+) cycles missed)?", out)
    return (int(m.group(1)), int(m.group(2)), int(m.group(3) or 0)) if m else None


def q(path, sql):
    con = sqlite3.connect(path)
    try:
        return con.execute(sql).fetchall()
    finally:
        con.close()


def count_and_rows(path, acq):
    count = q(path, "select OPCAcq_DataCount from OPCAcq where OPCAcq_Id = %d" % acq)
    rows = q(path, "select count(*) from OPCAcqData where OPCAcq_Id = %d" % acq)[0][0]
    return (count[0][0] if count else None), rows


# 1. The file is replaced by an older copy of itself during the run.
r1 = fresh("r1.sq3")
run = start(r1, "--seconds", "10")
time.sleep(2.5)
shutil.copy(r1, os.path.join(folder, "old.sq3"))
time.sleep(3)
os.rename(os.path.join(folder, "old.sq3"), r1)
out, err = run.communicate(timeout=60)
check(run.returncode == 1, "replaced by an older copy: exit %d" % run.returncode)
check("was replaced during the acquisition" in err, "replaced: the reason is not said: " + err[-300:])
count, rows = count_and_rows(r1, 1)
check(count is None or count == -1 or count <= rows, "replaced: count %s for %d rows" % (count, rows))
s = summary(out)
check(s is not None and s[1] == rows, "replaced: summary %s, the file holds %d rows" % (s, rows))

# 2. ... by another Velmora database with an acquisition 1 of its own.
other = fresh("other.sq3")
cli_run("acquire", "--database", other, "--project", DEMO, "--seconds", "3", "--simulated-clock")
before = q(other, "select * from OPCAcq") + q(other, "select count(*) from OPCAcqData")
r2 = fresh("r2.sq3")
run = start(r2, "--seconds", "8")
time.sleep(2.5)
shutil.copy(other, r2 + ".new")
os.rename(r2 + ".new", r2)
out, err = run.communicate(timeout=60)
check(run.returncode == 1, "replaced by another database: exit %d" % run.returncode)
check(q(r2, "select * from OPCAcq") + q(r2, "select count(*) from OPCAcqData") == before,
      "the other database's acquisition was written into")
check(summary(out) is not None and summary(out)[1] == 0, "other database: " + out[-200:])

# 3. Another program deletes or repairs the acquisition being recorded: refused.
d = fresh("d.sq3")
run = start(d, "--seconds", "8")
time.sleep(3)
listing = cli_run("acquisitions", "list", "--database", d)
dele = cli_run("acquisitions", "delete", "1", "--yes", "--database", d)
rep = cli_run("acquisitions", "repair", "1", "--database", d)
out, err = run.communicate(timeout=60)
check(listing.returncode == 0 and "Being Recorded" in listing.stdout,
      "list does not show the recording: " + listing.stdout[-300:])
check(dele.returncode == 1 and "Request Rejection" in dele.stderr and "being recorded" in dele.stderr,
      "foreign delete: exit %d %s" % (dele.returncode, dele.stderr[-300:]))
check(rep.returncode == 1 and "Request Rejection" in rep.stderr,
      "foreign repair: exit %d %s" % (rep.returncode, rep.stderr[-300:]))
check(run.returncode == 0, "the recording failed after a refused delete: " + err[-300:])
count, rows = count_and_rows(d, 1)
check(count == rows == 8, "after a refused delete: count %s rows %d" % (count, rows))
after = cli_run("acquisitions", "list", "--database", d)
check("Being Recorded" not in after.stdout, "a finished acquisition is still shown as recorded")

# 4. Ids are never reused: rows left by a deleted acquisition never join a new one (a tool
# that deletes only the acquisition's own row leaves its data, groups and items behind).
con = sqlite3.connect(d)
con.execute("delete from OPCAcq where OPCAcq_Id = 1")
con.commit()
con.close()
r = cli_run("acquire", "--database", d, "--project", DEMO, "--seconds", "3", "--simulated-clock")
check(r.returncode == 0 and q(d, "select OPCAcq_Id from OPCAcq") == [(2,)],
      "the new acquisition took id %s" % q(d, "select OPCAcq_Id from OPCAcq"))
check(count_and_rows(d, 2) == (3, 3), "new acquisition rows: %s" % (count_and_rows(d, 2),))
check(cli_run("acquisitions", "delete", "2", "--yes", "--database", d).returncode == 0,
      "delete of a finished acquisition failed")
cli_run("acquire", "--database", d, "--project", DEMO, "--seconds", "2", "--simulated-clock")
check(q(d, "select OPCAcq_Id from OPCAcq") == [(3,)], "after a delete the id %s was used again" %
      q(d, "select OPCAcq_Id from OPCAcq"))

# 5. Two recorders share one file: every hole in their data is counted.
both = fresh("both.sq3")
runs = [start(both, "--seconds", "12") for _ in range(2)]
results = [(p.wait(timeout=120), p.stdout.read(), p.stderr.read()) for p in runs]
for acq, (code, out, err) in enumerate(results, 1):
    s = summary(out)
    check(s is not None, "two writers: no summary")
    if s is None:
        continue
    # The acquisition ids follow the start order, which is not known: match by the summary.
    m = re.search(r"Acquisition (\d+) of project", out)
    acq = int(m.group(1))
    count, rows = count_and_rows(both, acq)
    check(rows == s[1] and count == rows, "two writers %d: count %s rows %d summary %s" % (acq, count, rows, s))
    times = [t for (t,) in q(both, "select OPCAcqData_Time from OPCAcqData where OPCAcq_Id = %d "
                                   "order by OPCAcqData_Id" % acq)]
    secs = [int(t[12:14]) * 3600 + int(t[15:17]) * 60 + float(t[18:]) for t in times]
    holes = sum(max(0, round(b - a) - 1) for a, b in zip(secs, secs[1:]))
    check(holes <= s[2], "two writers %d: %d seconds without a data set, %d cycles missed said" %
          (acq, holes, s[2]))
    check((code == 0) == (s[2] == 0 and s[0] == s[1]),
          "two writers %d: exit %d with summary %s" % (acq, code, s))
    if s[2] > 0:
        check("Acquisition Cycle" in err and "Missed" in err, "two writers: the log does not say why")

# 6. --reconnect with the server still away when --seconds ends.
ini = os.path.join(folder, "away.ini")
open(ini, "w").write("[server Velmora.SimServer.1]\ndie_after_ms = 3500\nrevive_after_ms = 3600000\n")
away = fresh("away.sq3")
r = subprocess.run([cli, "acquire", "--database", away, "--project", DEMO, "--seconds", "10",
                    "--simulated-clock", "--reconnect"], env=dict(env, VELMORA_SIM_CONFIG=ini),
                   capture_output=True, text=True)
check(r.returncode == 1, "outage at the end: exit %d" % r.returncode)
s = summary(r.stdout)
check(s is not None and s[2] >= 6, "outage at the end: summary " + r.stdout[-300:])
check("Not Restored" in r.stderr and "still away" in r.stderr, "outage at the end is not logged")

# 7. A missing database is refused, not created; only real dates; year 9999 is whole.
typo = os.path.join(folder, "typo.sq3")
r = cli_run("acquire", "--database", typo, "--project", DEMO, "--seconds", "2", "--simulated-clock")
check(r.returncode == 1 and "db init" in r.stderr, "missing database: exit %d %s" % (r.returncode, r.stderr))
check(not os.path.exists(typo), "acquire created a database for a mistyped path")
y = fresh("y.sq3")
r = cli_run("acquire", "--database", y, "--project", DEMO, "--seconds", "2", "--simulated-start",
            "2026-02-30T00:00:00Z")
check(r.returncode == 2, "2026-02-30 accepted: exit %d" % r.returncode)
r = cli_run("acquire", "--database", y, "--project", DEMO, "--seconds", "3", "--simulated-start",
            "9999-12-31T23:59:58Z", "--simulated-clock")
check(r.returncode == 0, "year 9999 run: exit %d %s" % (r.returncode, r.stderr[-200:]))
check(q(y, "select OPCAcq_EndDate from OPCAcq") == [("01/Jan/10000",)],
      "the end date was cut: %s" % q(y, "select OPCAcq_EndDate from OPCAcq"))

# 8. Lock waits take real time under --simulated-clock: a 3 s lock at Start is waited out.
lk = fresh("lk.sq3")
locker = sqlite3.connect(lk, isolation_level=None)
locker.execute("BEGIN EXCLUSIVE")
run = start(lk, "--seconds", "3", "--simulated-clock")
time.sleep(3)
locker.execute("ROLLBACK")
locker.close()
out, err = run.communicate(timeout=60)
check(run.returncode == 0 and summary(out) == (3, 3, 0), "simulated clock behind a 3 s lock: %d %s" %
      (run.returncode, err[-300:]))

# 9. SIGTERM during a lock wait ends it within a second; the end is recorded after.
sg = fresh("sg.sq3")
run = start(sg)
time.sleep(2.5)
locker = sqlite3.connect(sg, isolation_level=None)
locker.execute("BEGIN EXCLUSIVE")
time.sleep(2)
run.send_signal(signal.SIGTERM)
time.sleep(1.5)
locker.execute("ROLLBACK")
locker.close()
out, err = run.communicate(timeout=60)
check(run.returncode < 128 and run.returncode >= 0, "SIGTERM in a lock wait: killed (%d)" % run.returncode)
check("Lock Interrupted" in err, "SIGTERM did not end the lock wait: " + err[-300:])
count, rows = count_and_rows(sg, 1)
check(count == rows, "SIGTERM in a lock wait: count %s rows %d" % (count, rows))

shutil.rmtree(folder, ignore_errors=True)
if failures:
    sys.exit("%d shared recording check(s) failed" % len(failures))
print("shared recording e2e ok")

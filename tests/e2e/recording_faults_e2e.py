#!/usr/bin/env python3
"""End to end: velmora-cli acquire against the faults a data logger meets. Each run must
end with an honest exit code and summary: 0 only when the run ended as asked with every
acquired data set in the database, 1 with the reason on stderr otherwise. The database is
read back independently (sqlite3 + zlib)."""
import os
import re
import resource
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time
import zlib

cli, demo = sys.argv[1], sys.argv[2]
DEMO = "Demo Plant"
TEXTS = """format = 1
project = Texts
server = Velmora.SimServer.1
host = Local Host
group = Texts
update-rate = 1000
item T_Semicolon = Text.Semicolon
item T_Mixed = Text.Mixed
item S_Sine = Signals.Sine.R8
"""
folder = tempfile.mkdtemp()
os.chmod(folder, 0o755)
env = dict(os.environ, XDG_CONFIG_HOME=folder)
env.pop("VELMORA_SIM_CONFIG", None)
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def fresh(name, project=demo):
    path = os.path.join(folder, name)
    subprocess.run([cli, "db", "init", "--database", path], env=env, capture_output=True, check=True)
    subprocess.run([cli, "project", "import", project, "--database", path], env=env,
                   capture_output=True, check=True)
    return path


def acquire(path, *args, project=DEMO, extra_env=None, **kw):
    run_env = dict(env, **(extra_env or {}))
    return subprocess.run([cli, "acquire", "--database", path, "--project", project, *args],
                          env=run_env, capture_output=True, text=True, **kw)


def summary(out):
    m = re.search(r"(\d+) data sets acquired, (\d+) recorded", out)
    return (int(m.group(1)), int(m.group(2))) if m else None


def reason(err):
    lines = [line for line in err.splitlines() if line.startswith("velmora-cli acquire: ")]
    return lines[-1] if lines else ""


def q(path, sql):
    con = sqlite3.connect(path)
    try:
        return con.execute(sql).fetchall()
    finally:
        con.close()


def rows_decoded(path):
    n = q(path, "select count(*) from OPCAcqItem")[0][0]
    out = []
    for (blob,) in q(path, "select OPCAcqData_Value from OPCAcqData order by OPCAcqData_Id"):
        fields = zlib.decompress(blob).decode("latin-1").split(";")
        check(len(fields) == 2 * n + 1, "a stored row has %d fields for %d items" % (len(fields), n))
        out.append([f.replace("%3B", ";").replace("%25", "%") for f in fields[0:-1:2]])
    return out


def end_recorded(path):
    return q(path, "select OPCAcq_EndTime <> 'Undefined', OPCAcq_DataCount = "
                   "(select count(*) from OPCAcqData d where d.OPCAcq_Id = a.OPCAcq_Id) from OPCAcq a")


# Read-only database (as another user: root writes whatever the mode says).
ro = fresh("ro.sq3")
os.chmod(ro, 0o444)
prefix = ["runuser", "-u", "nobody", "--"] if os.geteuid() == 0 and shutil.which("runuser") else []
r = subprocess.run(prefix + [cli, "acquire", "--database", ro, "--project", DEMO, "--seconds", "3",
                             "--simulated-clock"], env=env, capture_output=True, text=True)
check(r.returncode == 1, "read-only start exit %d" % r.returncode)
check("readonly" in r.stderr, "read-only start does not say why")
check(q(ro, "select count(*) from OPCAcq") == [(0,)], "read-only start recorded an acquisition")

# Full disk at Start: no file may grow.
full = fresh("full.sq3")
def no_growth():
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (0, 0))
r = acquire(full, "--seconds", "5", "--simulated-clock", preexec_fn=no_growth)
check(r.returncode == 1, "full-disk start exit %d" % r.returncode)
check("did not start" in r.stderr and "error" in r.stderr, "full-disk start: " + r.stderr[-200:])
check(q(full, "select count(*) from OPCAcq") == [(0,)], "full-disk start left an acquisition")

# Strings holding ';' come back whole in their own column.
texts_file = os.path.join(folder, "texts.vproj")
open(texts_file, "w").write(TEXTS)
tx = fresh("tx.sq3", texts_file)
r = acquire(tx, "--seconds", "4", "--simulated-clock", project="Texts")
check(r.returncode == 0 and summary(r.stdout) == (4, 4), "texts run: %s" % r.stdout[-200:])
decoded = rows_decoded(tx)
check(len(decoded) == 4 and all(row[0] == "Alpha;Beta;Gamma" for row in decoded),
      "Text.Semicolon did not come back whole")

# Daylight saving ends during the run: repeated local times are kept as new rows.
dst = fresh("dst.sq3")
# Summer time one minute ahead: at 03:00 local it goes back to 02:59, so 02:59 comes twice.
r = acquire(dst, "--seconds", "120", "--simulated-clock", "--simulated-start",
            "2026-10-25T02:58:00Z", extra_env={"TZ": "UTC0DST-0:01,M3.5.0/2,M10.5.0/3"})
check(r.returncode == 0 and summary(r.stdout) == (120, 120), "fall-back run: %s" % r.stdout[-200:])
check(q(dst, "select count(*), count(distinct OPCAcqData_Time) from OPCAcqData") == [(120, 61)],
      "fall-back rows: %s" % q(dst, "select count(*), count(distinct OPCAcqData_Time) from OPCAcqData"))
check(q(dst, "select OPCAcq_StartTime from OPCAcq")[0][0].startswith("02:59:"),
      "the simulated start is not 02:59 local summer time")
r = acquire(dst, "--seconds", "1", "--simulated-start", "2026-13-01T00:00:00Z")
check(r.returncode == 2, "a bad --simulated-start is not a usage error")

# The server dies: the run stops with the reason and the end is recorded.
ini = os.path.join(folder, "die.ini")
open(ini, "w").write("[server Velmora.SimServer.1]\ndie_after_ms = 5500\n")
die = fresh("die.sq3")
r = acquire(die, "--seconds", "20", "--simulated-clock", extra_env={"VELMORA_SIM_CONFIG": ini})
check(r.returncode == 1 and "read failed" in reason(r.stderr), "dead server: " + r.stderr[-200:])
check(summary(r.stdout) == (5, 5) and end_recorded(die) == [(1, 1)], "dead server end not recorded")

# ... and with --reconnect, the same acquisition goes on after the restart.
open(ini, "a").write("revive_after_ms = 8000\n")
re_db = fresh("re.sq3")
r = acquire(re_db, "--seconds", "30", "--simulated-clock", "--reconnect",
            extra_env={"VELMORA_SIM_CONFIG": ini})
check(r.returncode == 0, "reconnect run exit %d: %s" % (r.returncode, r.stderr[-200:]))
acquired = summary(r.stdout)
check(acquired is not None and acquired[0] == acquired[1] and 10 <= acquired[0] < 30,
      "reconnect run summary: %s" % r.stdout[-300:])
check("cycles missed while the server was away" in r.stdout, "missed cycles not reported")
check(q(re_db, "select count(*) from OPCAcq") == [(1,)], "the restart made a second acquisition")
check("Connection to Server Restored" in r.stderr, "the end of the outage is not logged")

# A shutdown request from the server: stopped, end recorded, exit 1.
open(ini, "w").write("[server Velmora.SimServer.1]\nshutdown_after_ms = 3500\n")
sd = fresh("sd.sq3")
r = acquire(sd, "--seconds", "20", "--simulated-clock", extra_env={"VELMORA_SIM_CONFIG": ini})
check(r.returncode == 1 and "shut down" in reason(r.stderr), "shutdown: " + r.stderr[-200:])
check(end_recorded(sd) == [(1, 1)], "shutdown: end not recorded")

# Another process holds the write lock at Start: waited out, nothing lost.
lock = fresh("lock.sq3")
locker = sqlite3.connect(lock, isolation_level=None)
locker.execute("BEGIN IMMEDIATE")
locker.execute("INSERT INTO OPCPrj(OPCPrj_Name) VALUES('lock')")
run = subprocess.Popen([cli, "acquire", "--database", lock, "--project", DEMO, "--seconds", "3"],
                       env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
time.sleep(2.5)
locker.execute("ROLLBACK")
locker.close()
out, err = run.communicate(timeout=60)
check(run.returncode == 0 and summary(out) == (3, 3), "behind a lock: %s %s" % (out[-200:], err[-200:]))
check("waits for it" in err, "the wait for the lock is not logged")
check(end_recorded(lock) == [(1, 1)], "behind a lock: end not recorded")

# Two acquisitions on one database at once: each keeps all of its data sets.
both = fresh("both.sq3")
runs = [subprocess.Popen([cli, "acquire", "--database", both, "--project", DEMO, "--seconds", "4"],
                         env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        for _ in range(2)]
results = [(p.wait(timeout=60), p.stdout.read()) for p in runs]
check(all(code == 0 and summary(out) == (4, 4) for code, out in results),
      "two at once: %s" % [(c, summary(o)) for c, o in results])
check(end_recorded(both) == [(1, 1), (1, 1)], "two at once: %s" % end_recorded(both))
check(q(both, "select count(*) from OPCAcqItem group by OPCAcqGrp_Id in (select OPCAcqGrp_Id from "
              "OPCAcqGrp where OPCAcq_Id = 1)") == [(29,), (29,)], "two at once: snapshots mixed")

# The file is moved away during the run: stop, exit 1, no empty file in its place.
gone = fresh("gone.sq3")
run = subprocess.Popen([cli, "acquire", "--database", gone, "--project", DEMO, "--seconds", "8"],
                       env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
time.sleep(2.5)
moved = os.path.join(folder, "moved.sq3")
os.rename(gone, moved)
out, err = run.communicate(timeout=60)
check(run.returncode == 1 and "no longer at" in reason(err), "vanished file: exit %d %s" % (run.returncode, err[-200:]))
check(not os.path.exists(gone), "an empty database was created where the vanished one was")
acquired, recorded = summary(out)
check(recorded == len(rows_decoded(moved)) and acquired == recorded, "vanished file: %s" % out[-200:])

# SIGTERM: without --seconds the run ends as asked; with --seconds it was cut short.
for limited, expected in ((False, 0), (True, 1)):
    sig = fresh("sig%d.sq3" % limited)
    args = [cli, "acquire", "--database", sig, "--project", DEMO] + (["--seconds", "60"] if limited else [])
    run = subprocess.Popen(args, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    time.sleep(2.2)
    run.send_signal(signal.SIGTERM)
    out, err = run.communicate(timeout=30)
    check(run.returncode == expected, "SIGTERM (limited=%s) exit %d" % (limited, run.returncode))
    check(end_recorded(sig) == [(1, 1)], "SIGTERM: end not recorded")

shutil.rmtree(folder, ignore_errors=True)
if failures:
    sys.exit("%d recording fault check(s) failed" % len(failures))
print("recording faults e2e ok")

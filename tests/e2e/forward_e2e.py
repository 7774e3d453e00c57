#!/usr/bin/env python3
"""End to end: velmora-cli forwarding to a PostgreSQL server of the test's own (initdb and
pg_ctl in a temporary folder, a Unix socket, run as nobody when the test runs as root).
A bad URL fails the run and leaves the recording whole; `acquire --forward` killed with
SIGKILL, then a push, gives every data set exactly once; a push killed in the middle and
run again does too; usage errors exit 2. Skipped (77) without the server programs."""
import glob
import os
import re
import signal
import socket
import sqlite3
import subprocess
import sys
import tempfile
import time

cli, demo = sys.argv[1], sys.argv[2]
bins = sorted(glob.glob("/usr/lib/postgresql/*/bin/initdb"),
              key=lambda p: int(p.split("/")[4]))
if not bins:
    print("skipped: PostgreSQL server programs are not installed (Debian package postgresql)")
    sys.exit(77)
pgbin = os.path.dirname(bins[-1])
as_user = ["runuser", "-u", "nobody", "--"] if os.geteuid() == 0 else []


def pg(*args, check=True):
    return subprocess.run(as_user + list(args), capture_output=True, text=True, check=check)


with tempfile.TemporaryDirectory() as folder:
    os.chmod(folder, 0o755)
    data, sock = os.path.join(folder, "pg"), os.path.join(folder, "sock")
    os.mkdir(data)
    os.mkdir(sock)
    if os.geteuid() == 0:
        subprocess.run(["chown", "nobody", data, sock], check=True)
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    pg(pgbin + "/initdb", "-D", data, "-U", "velmora", "--auth=trust")

    def start():
        pg(pgbin + "/pg_ctl", "-D", data, "-l", sock + "/pg.log", "-w", "-o",
           "-k %s -p %d -c listen_addresses='' -c fsync=off" % (sock, port), "start")

    def stop():
        pg(pgbin + "/pg_ctl", "-D", data, "-m", "fast", "-w", "stop", check=False)

    start()
    try:
        pg(pgbin + "/createdb", "-h", sock, "-p", str(port), "-U", "velmora", "plant")
        url = "postgresql:///plant?host=%s&port=%d&user=velmora" % (sock, port)

        def q(sql):
            r = pg(pgbin + "/psql", "-h", sock, "-p", str(port), "-U", "velmora", "-d", "plant",
                   "-Atc", sql, check=False)
            return r.stdout.strip()

        def sets(acq):
            return int(q("select count(distinct row_id) from velmora_values where acquisition=%d"
                         % acq) or 0)

        def dups():
            return q("select count(*) from (select 1 from velmora_values group by station, "
                     "acquisition, row_id, item having count(*) > 1) d")

        env = dict(os.environ, XDG_CONFIG_HOME=folder)
        env.pop("VELMORA_SIM_CONFIG", None)
        db = os.path.join(folder, "Velmora.sq3")
        subprocess.run([cli, "db", "init", "--database", db], env=env, capture_output=True,
                       check=True)
        subprocess.run([cli, "project", "import", demo, "--database", db], env=env,
                       capture_output=True, check=True)

        def local(acq):
            con = sqlite3.connect(db)
            n = con.execute("select count(*) from OPCAcqData where OPCAcq_Id=?", (acq,)).fetchone()[0]
            con.close()
            return n

        def cli_run(*args):
            return subprocess.run([cli] + list(args), env=env, capture_output=True, text=True)

        # Usage errors.
        r = cli_run("acquisitions", "push", "1", "--database", db)
        assert r.returncode == 2 and "--to URL" in r.stderr, r.stderr
        r = cli_run("acquisitions", "push", "--database", db, "--to", url)
        assert r.returncode == 2, r.stderr
        r = cli_run("acquire", "--database", db, "--project", "Demo Plant", "--forward", "")
        assert r.returncode == 2, r.stderr

        # 1. A bad URL: the run fails and says why; the recording is whole.
        r = cli_run("acquire", "--database", db, "--project", "Demo Plant", "--seconds", "3",
                    "--simulated-clock", "--forward", "not a url")
        assert r.returncode == 1, "a run that could not forward exited %d" % r.returncode
        assert "bad connection URL" in r.stderr, r.stderr[-600:]
        assert "3 waiting to be forwarded" in r.stdout, r.stdout[-300:]
        assert local(1) == 3

        # 2. acquire --forward killed with SIGKILL once rows have reached the server.
        out = open(os.path.join(folder, "a2.txt"), "w")
        # No stdbuf: its preloaded library would come before a sanitizer's runtime.
        run = subprocess.Popen([cli, "acquire", "--database", db, "--project",
                                "Demo Plant", "--seconds", "60", "--forward", url], env=env,
                               stdout=out, stderr=subprocess.STDOUT)
        deadline = time.time() + 30
        while sets(2) < 3 and time.time() < deadline:
            time.sleep(0.2)
        out.flush()
        assert sets(2) >= 3, ("nothing forwarded while acquiring: " +
                              open(os.path.join(folder, "a2.txt")).read()[-1500:])
        run.send_signal(signal.SIGKILL)
        run.wait()
        before = sets(2)
        assert before <= local(2) and dups() == "0"
        # The restart: what the killed forwarder did not send goes, nothing twice.
        r = cli_run("acquisitions", "push", "2", "--to", url, "--database", db)
        assert r.returncode == 0, r.stderr[-400:]
        m = re.search(r"Acquisition 2: (\d+) forwarded", r.stdout)
        assert m and int(m.group(1)) == local(2) - before, (r.stdout, local(2), before)
        assert sets(2) == local(2) and dups() == "0"

        # 3. A push killed in the middle of a long recording, then run again.
        # Acquisition 3: acquisition 2's configuration and rows, repeated to 6000 data sets
        # (recording them one by one would take minutes).
        con = sqlite3.connect(db)
        con.execute("insert into OPCAcq select 3, OPCAcq_ServerId, OPCAcq_ServerHost, "
                    "OPCacq_ServerGuid, OPCAcq_UpdateRate, OPCAcq_StartDate, OPCAcq_StartTime, "
                    "OPCAcq_EndDate, OPCAcq_EndTime, 6000 from OPCAcq where OPCAcq_Id = 2")
        for grp, name, rate in con.execute("select OPCAcqGrp_Id, OPCAcqGrp_Name, "
                                           "OPCAcqGrp_UpdateRate from OPCAcqGrp where OPCAcq_Id = 2 "
                                           "order by OPCAcqGrp_Id").fetchall():
            new = con.execute("insert into OPCAcqGrp (OPCAcq_Id, OPCAcqGrp_Name, OPCAcqGrp_UpdateRate) "
                              "values (3, ?, ?)", (name, rate)).lastrowid
            con.execute("insert into OPCAcqItem (OPCAcqGrp_Id, OPCAcqItem_QualifiedName, "
                        "OPCAcqItem_ShortName, OPCAcqItem_Data, OPCAcqItem_DataType, "
                        "OPCAcqItem_ItemType) select ?, OPCAcqItem_QualifiedName, "
                        "OPCAcqItem_ShortName, OPCAcqItem_Data, OPCAcqItem_DataType, "
                        "OPCAcqItem_ItemType from OPCAcqItem where OPCAcqGrp_Id = ? "
                        "order by OPCAcqItem_Id", (new, grp))
        rows = con.execute("select OPCAcqData_Time, OPCAcqData_Value from OPCAcqData "
                           "where OPCAcq_Id = 2 order by OPCAcqData_Id").fetchall()
        con.executemany("insert into OPCAcqData (OPCAcq_Id, OPCAcqData_Time, OPCAcqData_Value) "
                        "values (3, ?, ?)", [rows[i % len(rows)] for i in range(6000)])
        con.commit()
        con.close()
        push = subprocess.Popen([cli, "acquisitions", "push", "3", "--to", url, "--database", db],
                                env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        first = push.stderr.readline()  # the first batch is confirmed
        assert "data sets sent" in first, first
        push.send_signal(signal.SIGKILL)
        push.wait()
        partial = sets(3)
        assert 0 < partial < local(3), "the kill came too late to test anything (%d)" % partial
        r = cli_run("acquisitions", "push", "--all", "--to", url, "--database", db)
        assert r.returncode == 0, r.stderr[-400:]
        assert sets(1) == local(1) and sets(2) == local(2) and sets(3) == local(3)
        assert dups() == "0"
        r = cli_run("acquisitions", "push", "--all", "--to", url, "--database", db)
        assert r.returncode == 0 and ": 0 forwarded" in r.stdout, r.stdout

        # 4. The server away: push fails with exit 1 and says so.
        stop()
        r = cli_run("acquisitions", "push", "1", "--to", url, "--database", db)
        assert r.returncode == 1 and "cannot connect to PostgreSQL" in r.stderr, r.stderr
        start()
    finally:
        stop()
print("forward e2e ok: bad URL, kill -9 of the forwarder and of a push, exactly once")

#!/usr/bin/env python3
"""End to end: files the tool writes are replaced whole or not at all, never written over
the database or its side files, a file size limit is a reported write error (not a
signal), a full stdout fails every command, and a run whose backups partly failed names
the file that failed."""
import hashlib
import http.server
import os
import resource
import signal
import sqlite3
import subprocess
import sys
import tempfile
import threading

cli, demo = os.path.abspath(sys.argv[1]), sys.argv[2]
env = dict(os.environ)
env["TZ"] = "UTC"


def digest(path):
    with open(path, "rb") as f:
        return hashlib.md5(f.read()).hexdigest()


def size_limit(limit):
    def apply():
        # As `ulimit -f`: the default action of SIGXFSZ would kill the process.
        signal.signal(signal.SIGXFSZ, signal.SIG_DFL)
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    return apply


with tempfile.TemporaryDirectory() as folder:
    env["XDG_CONFIG_HOME"] = folder

    def run(*args, expect=0, stdout=subprocess.PIPE, preexec=None):
        result = subprocess.run([cli, *args], stdout=stdout, stderr=subprocess.PIPE, text=True,
                                env=env, preexec_fn=preexec)
        if result.returncode != expect:
            sys.exit("%s gave %d, want %d: %s" % (" ".join(args), result.returncode, expect,
                                                   result.stderr[-400:]))
        return result

    db = os.path.join(folder, "Velmora.sq3")
    run("db", "init", "--database", db)
    run("project", "import", demo, "--database", db)
    name = sqlite3.connect(db).execute("select OPCPrj_Name from OPCPrj").fetchone()[0]
    run("acquire", "--database", db, "--project", name, "--seconds", "300", "--simulated-clock")

    # 1. An export onto the database, or one of its side files, however named: refused,
    # the database untouched, never "Exported Successfully".
    os.mkdir(os.path.join(folder, "sub"))
    os.link(db, os.path.join(folder, "hard.sq3"))
    os.symlink(db, os.path.join(folder, "soft.csv"))
    before = digest(db)
    # The recording lock file stays beside the database after the run; it must stay as it is.
    lock_before = digest(db + ".lock") if os.path.exists(db + ".lock") else None
    targets = [db, os.path.join(folder, "sub", "..", "Velmora.sq3"),
               os.path.join(folder, "hard.sq3"), os.path.join(folder, "soft.csv"),
               db + "-journal", db + "-wal", db + "-shm", db + ".lock"]
    for target in targets:
        result = run("acquisitions", "export", "1", "--database", db, "--output", target, expect=1)
        assert "refusing to export" in result.stderr, result.stderr[-300:]
        assert "Exported Successfully" not in result.stderr + result.stdout, target
        assert digest(db) == before, "the export onto %s changed the database" % target
    for side in ("-journal", "-wal", "-shm"):
        assert not os.path.exists(db + side), "an export created " + db + side
    lock_after = digest(db + ".lock") if os.path.exists(db + ".lock") else None
    assert lock_after == lock_before, "an export changed " + db + ".lock"
    # The same file reached from another folder, relative to the working directory.
    result = subprocess.run([cli, "acquisitions", "export", "1", "--database", db, "--output",
                             "../Velmora.sq3"], cwd=os.path.join(folder, "sub"),
                            capture_output=True, text=True, env=env)
    assert result.returncode == 1 and digest(db) == before, result.stderr[-300:]
    # A chart picture onto the database (through a link with a picture's extension).
    os.symlink(db, os.path.join(folder, "pic.png"))
    result = run("chart", "1", "--database", db, "--output", os.path.join(folder, "pic.png"),
                 expect=1)
    assert "refusing" in result.stderr and digest(db) == before, result.stderr[-300:]

    # 2. A file size limit part-way through: exit 1 with the cause, not a signal; the file
    # it was to replace is whole and nothing else is left.
    out = os.path.join(folder, "out")
    os.mkdir(out)
    csv = os.path.join(out, "x.csv")
    run("acquisitions", "export", "1", "--database", db, "--output", csv)
    keep = digest(csv)
    assert os.path.getsize(csv) > 8192, os.path.getsize(csv)
    result = subprocess.run([cli, "acquisitions", "export", "1", "--database", db, "--separator",
                             ",", "--output", csv], capture_output=True, text=True, env=env,
                            preexec_fn=size_limit(8192))
    assert result.returncode == 1, "export past the size limit gave %d" % result.returncode
    assert "File Too Large" in result.stderr, result.stderr[-300:]
    assert digest(csv) == keep, "a failed export destroyed the file it was to replace"
    assert sorted(os.listdir(out)) == ["x.csv"], os.listdir(out)
    png = os.path.join(out, "c.png")
    run("chart", "1", "--database", db, "--output", png)
    keep = digest(png)
    assert os.path.getsize(png) > 4096, os.path.getsize(png)
    result = subprocess.run([cli, "chart", "1", "--database", db, "--output", png, "--width",
                             "2000"], capture_output=True, text=True, env=env,
                            preexec_fn=size_limit(4096))
    assert result.returncode == 1, "chart past the size limit gave %d" % result.returncode
    assert "File Too Large" in result.stderr, result.stderr[-300:]
    assert digest(png) == keep and sorted(os.listdir(out)) == ["c.png", "x.csv"], os.listdir(out)
    # Within the limit the same export replaces the file, byte for byte as before.
    run("acquisitions", "export", "1", "--database", db, "--output", csv)
    direct = subprocess.run([cli, "acquisitions", "export", "1", "--database", db],
                            capture_output=True, env=env).stdout
    assert open(csv, "rb").read() == direct, "the export changed its bytes"

    # The database itself meets the size limit while recording: a reported failure, and
    # the end of the acquisition is still written for the rows stored.
    small = os.path.join(folder, "small.sq3")
    run("db", "init", "--database", small)
    run("project", "import", demo, "--database", small)
    result = subprocess.run([cli, "acquire", "--database", small, "--project", name, "--seconds",
                             "3000", "--simulated-clock"], capture_output=True, text=True,
                            env=env, preexec_fn=size_limit(os.path.getsize(small) + 131072))
    assert result.returncode == 1, "acquire past the size limit gave %d" % result.returncode
    end, count, stored = sqlite3.connect(small).execute(
        "select OPCAcq_EndDate, OPCAcq_DataCount, (select count(*) from OPCAcqData)"
        " from OPCAcq").fetchone()
    assert end and count == stored and stored > 0, (end, count, stored)

    # 3. Every command fails when its output cannot be written (stdout on a full device),
    # and succeeds when it can.
    class VersionFile(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            body = b"2|0|0|Same"
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass

    server = http.server.HTTPServer(("127.0.0.1", 0), VersionFile)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = "http://127.0.0.1:%d/v.txt" % server.server_address[1]
    settings = os.path.join(folder, "settings")
    os.mkdir(settings)
    commands = [
        ["--version"], ["--help"],
        ["project", "list", "--database", db],
        ["project", "show", name, "--database", db],
        ["project", "export", name, "--database", db],
        ["db", "query", "--database", db, "select count(*) from OPCAcqData"],
        ["db", "tables", "--database", db],
        ["browse", "--server", "Velmora.SimServer.1"],
        ["check-update", "--url", url, "--force", "--settings-dir", settings],
        ["acquire", "--database", db, "--project", name, "--seconds", "3", "--simulated-clock"],
        ["acquisitions", "list", "--database", db],
        ["acquisitions", "show", "1", "--database", db],
        ["acquisitions", "export", "1", "--database", db],
        ["acquisitions", "copy", "1", "--database", db],
        ["eval", "1+2"],
    ]
    with open("/dev/full", "w") as full:
        for command in commands:
            fine = subprocess.run([cli, *command], capture_output=True, text=True, env=env)
            assert fine.returncode == 0 and fine.stdout, (command, fine.returncode,
                                                          fine.stderr[-300:])
            result = subprocess.run([cli, *command], stdout=full, stderr=subprocess.PIPE,
                                    text=True, env=env)
            assert result.returncode == 1, (command, result.returncode)
            assert "could not be written" in result.stderr, (command, result.stderr[-300:])
    server.shutdown()

    # 4. Several backups, one failing: the summary names the one that failed.
    good = os.path.join(folder, "good")
    os.mkdir(good)
    backup = ["--project", name, "--seconds", "180", "--simulated-clock", "--simulated-start",
              "2026-12-07T09:00:00Z", "--backup-every", "1", "--backup-root", "Line1"]
    run("acquire", "--database", db, "--backup-folder", good, *backup)
    names = sorted(os.listdir(good))
    assert len(names) >= 3, names
    bad = os.path.join(folder, "bad")
    os.mkdir(bad)
    # A folder where the second backup goes: that file cannot be written.
    os.mkdir(os.path.join(bad, names[1]))
    result = run("acquire", "--database", db, "--backup-folder", bad, *backup, expect=1)
    assert "%d written to %s, 1 failed" % (len(names) - 1, bad) in result.stdout, result.stdout
    failed = os.path.join(bad, names[1])
    assert "the last to %s" % failed in result.stderr, result.stderr[-400:]
print("file edges e2e ok")

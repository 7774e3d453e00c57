#!/usr/bin/env python3
"""End to end: velmora-cli check-update against a local web server (python3 -m http.server
on 127.0.0.1): the exit status says whether the check got an answer, an answer that is not
a version file or an error page gives status 0 and keeps LastCheckTime, and the remote text
reaches the terminal without control characters."""
import os
import socket
import subprocess
import sys
import tempfile
import time

cli = sys.argv[1]


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def fail(message):
    sys.exit("check-update: " + message)


with tempfile.TemporaryDirectory() as folder:
    www = os.path.join(folder, "www")
    os.mkdir(www)
    files = {
        "html.txt": b"<html><body>Not found</body></html>",
        "new.txt": b"2|1|0|\x1b[2J\x1b]0;owned\x07Fixes\r\n",
        "old.txt": b"1|9|5|Older",
        "curly.txt": b"2|0|27|Past z",
        "empty.txt": b"",
    }
    for name, data in files.items():
        with open(os.path.join(www, name), "wb") as f:
            f.write(data)
    port = free_port()
    server = subprocess.Popen([sys.executable, "-m", "http.server", str(port), "--bind",
                               "127.0.0.1", "--directory", www],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for _ in range(100):
            try:
                socket.create_connection(("127.0.0.1", port), 0.2).close()
                break
            except OSError:
                time.sleep(0.1)
        base = "http://127.0.0.1:%d/" % port

        def check(name, settings, *extra):
            result = subprocess.run([cli, "check-update", "--url", base + name, "--force",
                                     "--settings-dir", os.path.join(folder, settings), *extra],
                                    capture_output=True, timeout=60)
            return result.returncode, result.stdout.decode("utf-8"), result.stderr.decode()

        def last_check(settings):
            path = os.path.join(folder, settings, "settings.txt")
            if not os.path.exists(path):
                return None
            for line in open(path, encoding="utf-8"):
                if line.startswith("LastCheckTime="):
                    return line.strip()
            return None

        code, out, err = check("html.txt", "s-html")
        if code != 1 or "status=0" not in out or "latest=Unknown" not in out:
            fail("an HTML page gave exit %d: %s %s" % (code, out, err))
        if "not a version file" not in err:
            fail("no reason on stderr for an HTML page: %r" % err)
        if last_check("s-html") is not None:
            fail("an HTML page wrote %s" % last_check("s-html"))

        code, out, err = check("missing.txt", "s-404")
        if code != 1 or "status=0" not in out or "404" not in err:
            fail("a 404 gave exit %d: %s %s" % (code, out, err))
        if last_check("s-404") is not None:
            fail("a 404 wrote %s" % last_check("s-404"))

        code, out, err = check("new.txt", "s-new")
        if code != 0 or "status=1" not in out or "latest=2.1" not in out:
            fail("2|1|0 gave exit %d: %s %s" % (code, out, err))
        if any(ord(c) < 0x20 for c in out.rstrip("\n")) or "text=[2J]0;ownedFixes" not in out:
            fail("control characters reached the output: %r" % out)
        if last_check("s-new") is None:
            fail("a completed check did not write LastCheckTime")

        code, out, err = check("old.txt", "s-old")
        if code != 0 or "status=2" not in out or "latest=1.9e" not in out:
            fail("1|9|5 against 2.0 gave exit %d: %s" % (code, out))

        code, out, err = check("curly.txt", "s-curly")
        if code != 1 or "status=0" not in out or "latest=Unknown" not in out:
            fail("revision 27 gave exit %d: %r" % (code, out))

        code, out, err = check("empty.txt", "s-empty")
        if code != 1 or "status=0" not in out:
            fail("an empty answer gave exit %d: %s" % (code, out))

        code, out, err = check("new.txt", "s-usage", "--bogus")
        if code != 2:
            fail("an unknown option gave exit %d, want 2" % code)
        result = subprocess.run([cli, "check-update", "--url", "ftp://x/v.txt"],
                                capture_output=True, timeout=60)
        if result.returncode != 2:
            fail("an ftp URL gave exit %d, want 2" % result.returncode)
        result = subprocess.run([cli, "check-update", "--help"], capture_output=True, timeout=60)
        if b"Exit status" not in result.stdout + result.stderr:
            fail("--help does not name the exit status")

        # A settings file that is not one (an endless device) is refused, not read forever.
        big = os.path.join(folder, "s-big")
        os.mkdir(big)
        os.symlink("/dev/zero", os.path.join(big, "settings.txt"))
        start = time.monotonic()
        code, out, err = check("new.txt", "s-big")
        if code != 1 or "larger than" not in err or time.monotonic() - start > 20:
            fail("an endless settings file gave exit %d: %s" % (code, err))
    finally:
        server.kill()
        server.wait()
print("check-update e2e ok")

#!/usr/bin/env python3
"""End to end: inputs from outside that never end (/dev/zero) or are far too large are
refused quickly with a clear message and exit 1: the simulation configuration named by
VELMORA_SIM_CONFIG, a project file and the settings folder of check-update."""
import os
import subprocess
import sys
import tempfile
import time

cli, demo = sys.argv[1], sys.argv[2]


def fail(message):
    sys.exit("input limits: " + message)


def run(args, env, want_code, want_text, limit_s=20):
    start = time.monotonic()
    try:
        result = subprocess.run([cli, *args], capture_output=True, env=env, timeout=120)
    except subprocess.TimeoutExpired:
        fail("%s did not end within 120 s" % " ".join(args))
    took = time.monotonic() - start
    err = result.stderr.decode("utf-8", "replace")
    if result.returncode != want_code or want_text not in err or took > limit_s:
        fail("%s: exit %d after %.1f s, stderr %r; want exit %d and %r" %
             (" ".join(args), result.returncode, took, err[-300:], want_code, want_text))
    return err


with tempfile.TemporaryDirectory() as folder:
    env = dict(os.environ, XDG_CONFIG_HOME=folder)
    db = os.path.join(folder, "Velmora.sq3")
    run(["db", "init", "--database", db], env, 0, "")
    run(["project", "import", demo, "--database", db], env, 0, "")

    zero = dict(env, VELMORA_SIM_CONFIG="/dev/zero")
    message = "the simulation configuration /dev/zero is larger than"
    run(["sim"], zero, 1, message)
    run(["browse", "--server", "Velmora.SimServer.1"], zero, 1, message)
    run(["acquire", "--database", db, "--project", "Demo Plant", "--seconds", "2",
         "--simulated-clock"], zero, 1, message)

    big = os.path.join(folder, "big.ini")
    with open(big, "wb") as f:
        f.write(b"[network]\n" + b"#" * (8 * 1024 * 1024))
    run(["sim"], dict(env, VELMORA_SIM_CONFIG=big), 1, "is larger than")

    run(["project", "import", "/dev/zero", "--database", db], env, 1, "larger than")
print("input limits e2e ok")

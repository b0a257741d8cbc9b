#!/usr/bin/env python3
"""Runs argv[1:] with standard error on a pseudo-terminal and standard output
on a pipe; prints {"code", "out", "err"} as JSON."""
import json
import os
import pty
import subprocess
import sys

master, slave = pty.openpty()
process = subprocess.Popen(sys.argv[1:], stdout=subprocess.PIPE, stderr=slave)
os.close(slave)
err = b""
while True:
    try:
        chunk = os.read(master, 4096)
    except OSError:  # the terminal's other end is closed
        break
    if not chunk:
        break
    err += chunk
out = process.stdout.read()
print(json.dumps({"code": process.wait(), "out": out.decode("utf-8", "replace"),
                  "err": err.decode("utf-8", "replace")}))

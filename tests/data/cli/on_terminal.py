#!/usr/bin/env python3
"""Runs argv[1:] with standard error on a pseudo-terminal and standard output
on a pipe, or with --both first, each on a terminal of its own; with
--columns N first, the terminal of standard error is N columns wide. Prints
{"code", "out", "err"} as JSON."""
import fcntl
import json
import os
import pty
import select
import struct
import subprocess
import sys
import termios

args = sys.argv[1:]
both = args[0] == "--both"
if both:
    args = args[1:]
columns = 0
if args[0] == "--columns":
    columns, args = int(args[1]), args[2:]
err_master, err_slave = pty.openpty()
if columns:
    fcntl.ioctl(err_slave, termios.TIOCSWINSZ, struct.pack("HHHH", 24, columns, 0, 0))
if both:
    out_master, out_slave = pty.openpty()
    process = subprocess.Popen(args, stdout=out_slave, stderr=err_slave)
    os.close(out_slave)
else:
    process = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=err_slave)
    out_master = process.stdout.fileno()
os.close(err_slave)
streams = {out_master: "out", err_master: "err"}
data = {"out": b"", "err": b""}
pending = set(streams)
while pending:
    for fd in select.select(list(pending), [], [])[0]:
        try:
            chunk = os.read(fd, 4096)
        except OSError:  # the terminal's other end is closed
            chunk = b""
        if chunk:
            data[streams[fd]] += chunk
        else:
            pending.discard(fd)
print(json.dumps({"code": process.wait(), "out": data["out"].decode("utf-8", "replace"),
                  "err": data["err"].decode("utf-8", "replace")}))

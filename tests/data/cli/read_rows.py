#!/usr/bin/env python3
"""Reads kestrovane-cli output in the format given as argv[1] from stdin with
Python's own readers and prints {"header": [...], "rows": [[...], ...]} as JSON,
so a test can compare what a script would get with what was stored."""
import csv
import io
import json
import re
import sys

UNESCAPE = {"t": "\t", "n": "\n", "r": "\r", "\\": "\\"}


def tsv_field(field):
    return re.sub(r"\\(.)", lambda m: UNESCAPE[m.group(1)], field)


def main():
    fmt = sys.argv[1]
    data = sys.stdin.buffer.read().decode("utf-8")
    header = []
    if fmt == "csv":
        if not data.endswith("\r\n"):
            sys.exit("csv does not end with CR LF")
        rows = list(csv.reader(io.StringIO(data, newline=""), strict=True))
        header, rows = rows[0], rows[1:]
    elif fmt == "json":
        objects = json.loads(data)
        if objects:
            header = list(objects[0].keys())
        rows = [list(o.values()) for o in objects]
        if any(list(o.keys()) != header for o in objects):
            sys.exit("json objects differ in their keys")
    else:
        lines = data.split("\n")
        if lines.pop() != "":
            sys.exit("tsv does not end with a line break")
        rows = [[tsv_field(f) for f in line.split("\t")] for line in lines]
    print(json.dumps({"header": header, "rows": rows}))


main()

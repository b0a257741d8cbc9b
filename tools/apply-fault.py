#!/usr/bin/env python3
"""Puts one deliberate fault into a file: the fault's "--- find" text, which
must occur exactly once, is replaced by its "--- replace" text.

A fault file holds "key: value" lines (file, rule, tests), then the two
blocks:

    --- find
    startBlock(size);
    --- replace
    startBlock(0);
"""
import sys


def blocks(text):
    parts = {}
    current = None
    for line in text.splitlines(keepends=True):
        if line.rstrip("\n") in ("--- find", "--- replace"):
            current = line.strip()[4:]
            parts[current] = ""
        elif current:
            parts[current] += line
    # The newline that ends each block belongs to the block's frame.
    return {k: v[:-1] if v.endswith("\n") else v for k, v in parts.items()}


def main():
    fault, target = sys.argv[1], sys.argv[2]
    parts = blocks(open(fault, encoding="utf-8").read())
    source = open(target, encoding="utf-8").read()
    find = parts.get("find", "")
    if not find or source.count(find) != 1:
        return 1
    with open(target, "w", encoding="utf-8") as out:
        out.write(source.replace(find, parts.get("replace", "")))
    return 0


if __name__ == "__main__":
    sys.exit(main())

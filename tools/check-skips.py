#!/usr/bin/env python3
"""Fails when the last ctest run in a build folder skipped a test that
tests/allowed-skips does not list.

ctest counts a Qt Test program as passed even when some of its tests skipped
(QSKIP), so a test that never runs here would go unnoticed. This reads the
full output of every program of the last run (Testing/Temporary/LastTest.log,
which ctest always writes) and prints every skip with its reason.

    tools/check-skips.py BUILD_DIR [ALLOWED_FILE]

Exit status: 0 when every skip is listed, 1 when one is not (or gives no
reason), 2 when there is no log to read.
"""
import re
import sys
from pathlib import Path

TEST_HEADER = re.compile(r"^\d+/\d+ Test: (\S+)$")
# Qt Test: "SKIP   : TestClass::function(data tag) reason"
QT_SKIP = re.compile(r"^SKIP\s+: \w+::(\w+)\((.*)\) ?(.*)$")
CTEST_SKIP = re.compile(r"^Test (Skipped|Not Run)")


def allowed_skips(path):
    """The listed tests, as (ctest name, function) -> reason."""
    allowed = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        parts = line.split(None, 2)
        if len(parts) < 3:
            sys.exit(f"{path}:{number}: want 'TEST FUNCTION REASON', got: {line}")
        allowed[(parts[0], parts[1])] = parts[2]
    return allowed


def skips(log):
    """Every skip of the run as (ctest name, function, data tag, reason)."""
    test = None
    found = []
    for line in log.read_text(encoding="utf-8", errors="replace").splitlines():
        header = TEST_HEADER.match(line)
        if header:
            test = header.group(1)
            continue
        qt_skip = QT_SKIP.match(line)
        if qt_skip and test:
            found.append((test, qt_skip.group(1), qt_skip.group(2), qt_skip.group(3).strip()))
        elif CTEST_SKIP.match(line) and test:
            found.append((test, "*", "", "ctest did not run it"))
    return found


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    log = Path(sys.argv[1]) / "Testing" / "Temporary" / "LastTest.log"
    listed = Path(sys.argv[2]) if len(sys.argv) == 3 else Path(__file__).parent.parent / "tests" / "allowed-skips"
    if not log.is_file():
        print(f"check-skips: no test log at {log}: run ctest first", file=sys.stderr)
        return 2
    allowed = allowed_skips(listed)
    unlisted = 0
    for test, function, tag, reason in skips(log):
        where = f"{test} {function}" + (f" ({tag})" if tag else "")
        if not reason:
            print(f"SKIP WITHOUT A REASON: {where}")
            unlisted += 1
        elif (test, function) in allowed:
            print(f"allowed skip: {where}: {reason}")
        else:
            print(f"UNLISTED SKIP: {where}: {reason}")
            unlisted += 1
    if unlisted:
        print(f"check-skips: {unlisted} skip(s) not allowed by {listed}; make the test run here, "
              "or list it there with the reason it cannot", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""Runs a check and judges its outcome, for the tests of the Windows 95 build gate.

  expect.py -- COMMAND...                    COMMAND succeeds and prints nothing
  expect.py --problem TEXT... -- COMMAND...  COMMAND fails; every TEXT is in a line
                                             of what it prints, and every line it
                                             prints holds one TEXT, or is the
                                             gate's heading
"""
import re
import subprocess
import sys

HEADING = re.compile(r": will not load or work on Windows 95 \(\d+ problems?; allow-list .*\):$")


def main(argv):
    split = argv.index("--")
    options, command = argv[1:split], argv[split + 1:]
    if any(o != "--problem" for o in options[0::2]) or len(options) % 2:
        sys.exit("usage: expect.py [--problem TEXT]... -- COMMAND...")
    expected = options[1::2]
    run = subprocess.run(command, capture_output=True, text=True)
    lines = (run.stdout + run.stderr).splitlines()
    shown = "\n".join(lines) or "(nothing)"
    if not expected:
        if run.returncode != 0 or lines:
            sys.exit(f"expected success and no output; exit code {run.returncode}, output:\n{shown}")
        return
    if run.returncode != 1:
        sys.exit(f"expected the check to fail with exit code 1; exit code {run.returncode}, output:\n{shown}")
    missing = [t for t in expected if not any(t in line for line in lines)]
    unexpected = [line for line in lines if not HEADING.search(line) and not any(t in line for t in expected)]
    if missing or unexpected:
        sys.exit(f"missing: {missing}\nunexpected lines: {unexpected}\noutput:\n{shown}")


if __name__ == "__main__":
    main(sys.argv)

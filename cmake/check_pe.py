#!/usr/bin/python3
"""Build-time checks of a PE file, for the targets that cannot run here.

  exports FILE NAME...   FILE exports exactly these names, undecorated
"""
import sys

import pefile


def exports(path, names):
    pe = pefile.PE(path, fast_load=False)
    found = sorted(e.name.decode() for e in getattr(pe, "DIRECTORY_ENTRY_EXPORT").symbols if e.name) \
        if hasattr(pe, "DIRECTORY_ENTRY_EXPORT") else []
    if found != sorted(names):
        sys.exit(f"{path}: exports {found}, expected {sorted(names)}")


def main(argv):
    if argv[1] == "exports":
        exports(argv[2], argv[3:])
    else:
        sys.exit("unknown check: " + argv[1])


if __name__ == "__main__":
    main(sys.argv)

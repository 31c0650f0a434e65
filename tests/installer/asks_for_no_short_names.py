"""Fails when a binary names a function that gives short (8.3) names, as an
import or as a name to look up at run time: the product gives the system names
as they are, and many volumes have no short names."""
import sys

problems = [
    f"{path}: names {name.decode()}"
    for path in sys.argv[1:]
    for name in (b"GetShortPathName", "GetShortPathName".encode("utf-16-le"))
    if name in open(path, "rb").read()
]
sys.exit("\n".join(problems) or None)

"""Writes OUT as the bytes of IN altered: "tail" appends bytes, "last" changes
the last byte only. The installer must refuse either as its payload."""
import sys

source, target, how = sys.argv[1:4]
data = bytearray(open(source, "rb").read())
if how == "tail":
    data += b"\0TAIL"
elif how == "last":
    data[-1] ^= 0xFF
else:
    sys.exit(f"unknown alteration: {how}")
open(target, "wb").write(data)

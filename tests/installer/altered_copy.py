"""Writes OUT as the bytes of IN altered: "tail" appends bytes, "last" changes
the last byte only; the installer must refuse either as its payload.
"short-version" makes the version block's root too short to hold the fixed file
information, "version-outside" points the version resource past the image's end:
damaged installed copies, which hold no version."""
import sys

import pefile

source, target, how = sys.argv[1:4]
data = bytearray(open(source, "rb").read())
if how == "tail":
    data += b"\0TAIL"
elif how == "last":
    data[-1] ^= 0xFF
elif how in ("short-version", "version-outside"):
    image = pefile.PE(data=bytes(data))
    kind = next(k for k in image.DIRECTORY_ENTRY_RESOURCE.entries if k.id == pefile.RESOURCE_TYPE["RT_VERSION"])
    entry = kind.directory.entries[0].directory.entries[0].data.struct
    if how == "short-version":
        at = image.get_offset_from_rva(entry.OffsetToData)
        data[at : at + 2] = (40 + 52 - 1).to_bytes(2, "little")
    else:
        entry.OffsetToData = image.OPTIONAL_HEADER.SizeOfImage - 16
        data = bytearray(image.write())
else:
    sys.exit(f"unknown alteration: {how}")
open(target, "wb").write(data)

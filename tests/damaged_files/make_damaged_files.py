#!/usr/bin/env python3
"""Writes damaged copies of resource libraries, and what each copy's records hold.

usage: make_damaged_files.py OUT_DIR COUNT SEED SOURCE...

Copy i is damaged in one way, by turns: cut short, bytes of its resources
flipped, a data entry or the entry that leads to it pointing out of the image,
part of its resources in a section without access, its version block's lengths
or signature changed, a string's length running past its block, a bitmap's or
icon's header asking for more pixels than it holds. Seeded: the same files every
time.

OUT_DIR/records.txt tells, for each copy, what a reader may return from it, as
the loader would find the records in the damaged file (every record that a
lookup could reach, so that any of them may be the one read):
  file NAME
  data TYPE ID SIZE:FNV1A64...      the bytes of each record
  string ID HEX...                  each record's UTF-16 text, hex, little-endian
  picture KIND ID 0|1               whether there is a record at all (KIND 0 bitmap, 1 icon, 2 cursor)
  version TEXT...                   each valid record's padded file version
A probe with nothing after its key must come back empty.
"""
import os
import random
import struct
import sys

DATA_PROBES = [("CUSTOM", 101), ("CUSTOM", 102), ("CUSTOM", 103), ("OTHERDATA", 101)]
STRING_IDS = [1, 2, 3]
PICTURE_TYPES = {0: 2, 1: 14, 2: 12}  # RT_BITMAP, RT_GROUP_ICON, RT_GROUP_CURSOR
RT_CURSOR, RT_ICON, RT_STRING, RT_VERSION = 1, 3, 6, 16
PAGE = 0x1000


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0] if 0 <= at and at + 2 <= len(data) else None


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0] if 0 <= at and at + 4 <= len(data) else None


class Headers:
    def __init__(self, data):
        self.pe = u32(data, 0x3C)
        self.sections_at = self.pe + 24 + u16(data, self.pe + 20)
        self.optional = self.pe + 24
        wide = u16(data, self.optional) == 0x20B
        self.size_of_image = u32(data, self.optional + 56)
        self.size_of_headers = u32(data, self.optional + 60)
        self.resource_rva = u32(data, self.optional + (128 if wide else 112))
        self.sections = []
        for i in range(u16(data, self.pe + 6)):
            at = self.sections_at + 40 * i
            name = data[at : at + 8]
            virtual_size, address, raw_size, raw_at = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((name, virtual_size, address, raw_size, raw_at, at))

    def rsrc(self):
        return next(s for s in self.sections if s[0].startswith(b".rsrc"))


def mapped_image(data):
    """The file as the loader maps it: headers and sections at their addresses, zeros elsewhere."""
    try:
        headers = Headers(data)
    except (TypeError, struct.error):
        return None, None
    image = bytearray(headers.size_of_image)
    image[: headers.size_of_headers] = data[: headers.size_of_headers]
    for _, virtual_size, address, raw_size, raw_at, _ in headers.sections:
        chunk = data[raw_at : raw_at + min(raw_size, virtual_size or raw_size)]
        image[address : address + len(chunk)] = chunk
    return bytes(image), headers


def flat_view(data, headers):
    """The file mapped as data, and its addresses turned into offsets as the resource functions do."""
    view = bytes(data) + b"\0" * (-len(data) % PAGE)

    def offset(rva):
        for _, _, address, raw_size, raw_at, _ in headers.sections:
            if address <= rva < address + raw_size:
                return rva - address + raw_at
        return None

    return view, offset


def entries(view, directory):
    named, ids = u16(view, directory + 12) or 0, u16(view, directory + 14) or 0
    for i in range(named + ids):
        at = directory + 16 + 8 * i
        if at + 8 > len(view):
            return
        yield struct.unpack_from("<II", view, at)


def name_matches(view, root, name, key):
    if isinstance(key, int):
        return name == key
    if not name & 0x80000000:
        return False
    at = root + (name & 0x7FFFFFFF)
    length = u16(view, at)
    text = view[at + 2 : at + 2 + 2 * (length or 0)].decode("utf-16-le", "replace")
    return text.upper() == key


def records(view, root, offset, type_key, name_key):
    """Every record that a lookup of TYPE and NAME could reach: (data, size) or None when outside."""
    found = []
    if root is None or root + 16 > len(view):
        return found
    for type_name, type_target in entries(view, root):
        if not type_target & 0x80000000 or not name_matches(view, root, type_name, type_key):
            continue
        for name, name_target in entries(view, root + (type_target & 0x7FFFFFFF)):
            if not name_target & 0x80000000 or not name_matches(view, root, name, name_key):
                continue
            for _, language_target in entries(view, root + (name_target & 0x7FFFFFFF)):
                if language_target & 0x80000000:
                    continue
                entry = root + language_target
                if entry + 16 > len(view):
                    continue
                rva, size = struct.unpack_from("<II", view, entry)
                at = offset(rva)
                if at is not None and at + size <= len(view):
                    found.append(view[at : at + size])
    return found


def views(data):
    """The image, and the file mapped as data (version.dll's view), each with its resource root."""
    image, headers = mapped_image(data)
    if image is None:
        return []
    result = [(image, headers.resource_rva, lambda rva: rva)]
    flat, offset = flat_view(data, headers)
    result.append((flat, offset(headers.resource_rva), offset))
    return result


def fnv1a(data):
    value = 0xCBF29CE484222325
    for byte in data:
        value = ((value ^ byte) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return value


def string_of(block, index):
    at = 0
    for entry in range(16):
        length = u16(block, at)
        if length is None or at + 2 + 2 * length > len(block):
            return None
        if entry == index & 15:
            return block[at + 2 : at + 2 + 2 * length]
        at += 2 + 2 * length
    return None


def version_of(block):
    """The padded file version of a valid version record, read as a 32-bit and as a 16-bit block."""
    texts = []
    length, value_length = u16(block, 0), u16(block, 2)
    if length is None or value_length is None or length > len(block) or value_length < 52:
        return texts
    for key_at, width in ((6, 2), (4, 1)):
        end = key_at
        while end + width <= length and block[end : end + width] != b"\0" * width:
            end += width
        value = (end + width + 3) & ~3
        if value + 52 > length or u32(block, value) != 0xFEEF04BD:
            continue
        ms, ls = u32(block, value + 8), u32(block, value + 12)
        texts.append(".".join(f"{part:04d}" for part in (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)))
    return texts


def describe(name, data):
    lines = [f"file {name}"]
    every = views(data)
    image = every[:1]

    def found(type_key, name_key, among=image):
        return [record for view, root, offset in among for record in records(view, root, offset, type_key, name_key)]

    for type_name, number in DATA_PROBES:
        bytes_found = sorted({f"{len(r)}:{fnv1a(r):016x}" for r in found(type_name, number)})
        lines.append(" ".join(["data", type_name, str(number)] + bytes_found))
    for number in STRING_IDS:
        texts = {string_of(block, number) for block in found(RT_STRING, (number >> 4) + 1)}
        lines.append(" ".join(["string", str(number)] + sorted(t.hex() for t in texts if t)))
    for kind, type_number in PICTURE_TYPES.items():
        lines.append(f"picture {kind} 101 {1 if found(type_number, 101) else 0}")
    texts = {text for block in found(RT_VERSION, 1, every) for text in version_of(block)}
    lines.append(" ".join(["version"] + sorted(texts)))
    return lines


def resource_entries(data):
    """(entry offset in the file, data entry offset in the file, type) of every record."""
    headers = Headers(data)
    _, _, address, _, raw_at, _ = headers.rsrc()
    root = raw_at + headers.resource_rva - address
    found = []
    for type_name, type_target in entries(data, root):
        for _, name_target in entries(data, root + (type_target & 0x7FFFFFFF)):
            for i, (_, language_target) in enumerate(entries(data, root + (name_target & 0x7FFFFFFF))):
                leading_to = root + (name_target & 0x7FFFFFFF) + 16 + 8 * i + 4
                found.append((leading_to, root + language_target, type_name))
    return headers, root, found


def record_at(data, headers, entry):
    rva, size = struct.unpack_from("<II", data, entry)
    _, _, address, _, raw_at, _ = headers.rsrc()
    return rva - address + raw_at, size


def damage(rng, kind, data):
    headers, root, found = resource_entries(data)
    name, virtual_size, address, raw_size, raw_at, header_at = headers.rsrc()
    if kind == 0:  # cut short
        return data[: rng.randrange(headers.size_of_headers, len(data))]
    if kind == 1:  # flipped bytes in the resources
        for _ in range(rng.randrange(1, 9)):
            data[rng.randrange(raw_at, raw_at + raw_size)] = rng.randrange(256)
        return data
    if kind == 2:  # a data entry, or the entry leading to it, pointing out of the image
        leading_to, entry, _ = rng.choice(found)
        image_end = headers.size_of_image
        choice = rng.randrange(4)
        if choice == 0:
            struct.pack_into("<I", data, leading_to, image_end - root + raw_at - address + rng.randrange(-8, 64))
        elif choice == 1:
            struct.pack_into("<I", data, entry, image_end - rng.randrange(0, 64))
        elif choice == 2:
            struct.pack_into("<I", data, entry, rng.choice([0x7FFFFFF0, 0xFFFFFFF0, 0x10000000]))
        else:
            struct.pack_into("<I", data, entry + 4, rng.choice([0xFFFFFFFF, 0x7FFFFFFF, image_end]))
        return data
    if kind == 3:  # the resources from some page on, or all of them, in a section without access
        if virtual_size <= PAGE or rng.randrange(4) == 0:
            struct.pack_into("<I", data, header_at + 36, 0)
            return data
        split = PAGE * rng.randrange(1, (virtual_size + PAGE - 1) // PAGE)
        count = len(headers.sections)
        new_at = headers.sections_at + 40 * count
        struct.pack_into("<II", data, header_at + 8, split, address)
        struct.pack_into("<I", data, header_at + 16, split)
        data[new_at : new_at + 40] = struct.pack(
            "<8sIIIIIIHHI", b".rsrc2", virtual_size - split, address + split, raw_size - split, raw_at + split,
            0, 0, 0, 0, 0)
        struct.pack_into("<H", data, headers.pe + 6, count + 1)
        return data
    if kind == 4:  # the version block's lengths or signature
        versions = [entry for _, entry, type_name in found if type_name == RT_VERSION]
        at, size = record_at(data, headers, versions[0]) if versions else (None, 0)
        if at is None:
            return damage(rng, 1, data)
        choice = rng.randrange(3)
        if choice == 0:
            struct.pack_into("<H", data, at, rng.choice([0, 1, 6, 40, 91, 92, size - 1, size + 1, 0xFFFF]))
        elif choice == 1:
            struct.pack_into("<H", data, at + 2, rng.choice([0, 51, 53, 0xFFFF]))
        else:
            data[at + 40 + rng.randrange(4)] ^= 1 << rng.randrange(8)
        return data
    if kind == 5:  # a string's length past its block
        strings = [entry for _, entry, type_name in found if type_name == RT_STRING]
        if not strings:
            return damage(rng, 6, data)
        at, size = record_at(data, headers, rng.choice(strings))
        lengths, position = [], at
        while position < at + size:
            lengths.append(position)
            position += 2 + 2 * struct.unpack_from("<H", data, position)[0]
        struct.pack_into("<H", data, rng.choice(lengths), rng.choice([size // 2, size, 0x8000, 0xFFFF]))
        return data
    # a bitmap's or icon's header, or an icon group's count, asking for more than there is
    pictures = [entry for _, entry, type_name in found if type_name in (2, 3, 1, 14, 12)]
    if not pictures:
        return damage(rng, 4, data)
    at, size = record_at(data, headers, rng.choice(pictures))
    if size < 40:  # a group: its count
        struct.pack_into("<H", data, at + 4, rng.choice([2, 100, 0xFFFF]))
    else:
        header = at + (4 if u32(data, at) != 40 else 0)  # a cursor's hot spot first
        field, form, value = rng.choice(
            [(4, "<i", 0x7FFF), (8, "<i", 0x7FFF), (8, "<i", -0x80000000), (14, "<H", 64), (32, "<I", 0x10000)])
        struct.pack_into(form, data, header + field, value)
    return data


def main(out_dir, count, seed, *sources):
    rng = random.Random(int(seed))
    originals = [bytearray(open(source, "rb").read()) for source in sources]
    os.makedirs(out_dir, exist_ok=True)
    lines = []
    for i in range(int(count)):
        kind = i % 7
        data = damage(rng, kind, bytearray(originals[i // 7 % len(originals)]))
        name = f"damaged_{i:03d}.dll"
        with open(os.path.join(out_dir, name), "wb") as out:
            out.write(data)
        lines += describe(name, bytes(data))
    with open(os.path.join(out_dir, "records.txt"), "w") as out:
        out.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))

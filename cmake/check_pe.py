#!/usr/bin/python3
"""Build-time checks of a PE file: what Wine, which is kinder than Windows, cannot show.

  exports FILE NAME...   FILE exports exactly these names, undecorated
  imports FILE           FILE imports Known DLLs only
  payload PAYLOAD --machine MACHINE [--without-version]
                         PAYLOAD can be an installer's payload: a self-registering
                         library (it exports DllRegisterServer and
                         DllUnregisterServer) built for MACHINE (I386 or AMD64),
                         the installer's machine, with a file version (an
                         installer never installs a payload without one);
                         --without-version: the tests' payload that has none
  installer EXE PAYLOAD --version VERSION [--product-control]
                         EXE is a PE32 GUI executable that imports only Known DLLs
                         and carries PAYLOAD as CUSTOM 101 (language 1040), an icon,
                         version VERSION (a.b.c.d) in its version block and in the
                         administrator manifest; PAYLOAD passes the payload check
                         for EXE's machine.
                         --product-control: PAYLOAD is the TORVALINK control built
                         here, which must also keep ASLR, DEP and relocations,
                         export exactly its four entries and be version VERSION
  windows95 FILE LIST --dlls DLL... [--own-entry MAP] [--objdump OBJDUMP]
                         FILE loads and works on Windows 95: a PE32 asks for
                         subsystem 4.0 at most; it imports by name, only from the
                         DLLs given, only the functions on LIST, and has no TLS
                         directory; with --objdump, a PE32 uses no instruction
                         that the 486 lacks. --own-entry: FILE starts at an
                         entry point of its own, without the C run time's start-up,
                         and MAP is its linker map; then FILE must also have no
                         .CRT section, no runtime pseudo-relocations and no global
                         constructors or destructors, which that entry never runs
  windows95-list LIST    LIST is a well-formed Windows 95 allow-list
  release FILE --paths FOLDER... [--signed]
                         FILE is as released: every build of the same sources
                         gives the same bytes, so it holds no build time and none
                         of the FOLDERs' paths (the sources', the build's);
                         --signed: it carries an Authenticode signature
"""
import argparse
import datetime
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

import pefile


def exports(path, names):
    pe = pefile.PE(path, fast_load=False)
    found = sorted(e.name.decode() for e in getattr(pe, "DIRECTORY_ENTRY_EXPORT").symbols if e.name) \
        if hasattr(pe, "DIRECTORY_ENTRY_EXPORT") else []
    if found != sorted(names):
        sys.exit(f"{path}: exports {found}, expected {sorted(names)}")


KNOWN_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "ole32.dll", "oleaut32.dll",
              "shell32.dll", "msvcrt.dll", "comdlg32.dll", "shlwapi.dll", "rpcrt4.dll"}
WINDOWS_81 = "1f676c76-80e1-4239-95bb-83d0f6d0da78"
WINDOWS_10 = "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"


def fail(path, message):
    sys.exit(f"{path}: {message}")


def resources(pe):
    """{(type, id, language): bytes}; named types and ids by name."""
    found = {}
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for entry in kind.directory.entries:
            for lang in entry.directory.entries:
                key = (str(kind.name) if kind.name else kind.id, str(entry.name) if entry.name else entry.id, lang.id)
                found[key] = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
    return found


def version_text(most, least):
    return f"{most >> 16}.{most & 0xFFFF}.{least >> 16}.{least & 0xFFFF}"


def version_problems(pe, version):
    """How the version block differs from VERSION (a.b.c.d): its numbers and its
    texts, which Windows shows in a file's properties."""
    fixed = getattr(pe, "VS_FIXEDFILEINFO", None)
    if not fixed:
        return ["no version block"]
    problems = []
    for name in ("FileVersion", "ProductVersion"):
        found = version_text(getattr(fixed[0], name + "MS"), getattr(fixed[0], name + "LS"))
        if found != version:
            problems.append(f"{name} {found} in the version block, not {version}")
    texts = {key.decode(): value.decode() for info in getattr(pe, "FileInfo", []) for entry in info
             if entry.Key == b"StringFileInfo" for table in entry.StringTable for key, value in table.entries.items()}
    for name in ("FileVersion", "ProductVersion"):
        if texts.get(name) != version:
            problems.append(f"{name} text {texts.get(name)!r}, not {version!r}")
    return problems


def manifest_version(manifest):
    """The version of the manifest's own assembly, or None."""
    identity = ElementTree.fromstring(manifest).find("{urn:schemas-microsoft-com:asm.v1}assemblyIdentity")
    return None if identity is None else identity.get("version")


def known_dlls_only(path):
    pe = pefile.PE(path)
    imported = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
    if not imported <= KNOWN_DLLS:
        fail(path, f"imports DLLs that are not Known DLLs: {sorted(imported - KNOWN_DLLS)}")


# The entries that make a library self-registering: what the installer calls.
SELF_REGISTRATION = ["DllRegisterServer", "DllUnregisterServer"]
MACHINES = {"I386": "x86 (I386)", "AMD64": "x86-64 (AMD64)", "ARM64": "ARM64", "ARMNT": "ARM (ARMNT)"}


def machine_name(machine):
    name = pefile.MACHINE_TYPE.get(machine, f"0x{machine:04x}")
    return MACHINES.get(name.removeprefix("IMAGE_FILE_MACHINE_"), name)


def payload(path, machine, without_version=False):
    """PAYLOAD can be carried by an installer for MACHINE, which loads it and
    calls its registration entries: one line per problem, each naming PAYLOAD."""
    try:
        pe = pefile.PE(path)
    except (OSError, pefile.PEFormatError) as error:
        fail(path, f"cannot be the installer's payload: not a readable PE file ({error})")
    problems = []
    if pe.FILE_HEADER.Machine != machine:
        problems.append(f"built for {machine_name(pe.FILE_HEADER.Machine)}, but the installer is built for "
                        f"{machine_name(machine)}: it could neither load nor register it")
    if not pe.FILE_HEADER.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_DLL"]:
        problems.append("not a library (DLL): the installer can only register a self-registering library")
    exported = {e.name.decode() for e in pe.DIRECTORY_ENTRY_EXPORT.symbols if e.name} \
        if hasattr(pe, "DIRECTORY_ENTRY_EXPORT") else set()
    if missing := [name for name in SELF_REGISTRATION if name not in exported]:
        problems.append(f"does not export {' and '.join(missing)}: not a self-registering library")
    fixed = getattr(pe, "VS_FIXEDFILEINFO", None)
    if not without_version and not (fixed and fixed[0].Signature == 0xFEEF04BD):
        # No version sorts before every installed copy's, so nothing would be installed.
        problems.append("carries no file version: an installer would never find it newer than an installed copy, "
                        "and so never install it")
    if problems:
        sys.exit("\n".join(f"{path}: {problem}" for problem in problems))


def installer(path, payload_path, version, product_control):
    pe = pefile.PE(path)
    payload_bytes = open(payload_path, "rb").read()
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        fail(path, "not an i386 executable")
    if pe.OPTIONAL_HEADER.Magic != 0x10B:
        fail(path, "not PE32")
    if pe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
        fail(path, "not a GUI executable")
    known_dlls_only(path)
    hardening(pe, path)
    found = resources(pe)
    if found.get(("CUSTOM", 101, 1040)) != payload_bytes:
        fail(path, "CUSTOM 101 (language 1040) is not the payload file")
    if not any(k[0] == pefile.RESOURCE_TYPE["RT_GROUP_ICON"] for k in found):
        fail(path, "no icon")
    manifests = [v for k, v in found.items() if k[0] == pefile.RESOURCE_TYPE["RT_MANIFEST"]]
    if len(manifests) != 1:
        fail(path, "expected one manifest")
    problems = [(path, p) for p in version_problems(pe, version)]
    if (found_version := manifest_version(manifests[0])) != version:
        problems.append((path, f"version {found_version} in the manifest, not {version}"))
    if product_control:
        problems += [(payload_path, p) for p in version_problems(pefile.PE(payload_path), version)]
    if problems:
        sys.exit("\n".join(f"{file}: {problem}" for file, problem in problems))
    manifest = manifests[0].decode("utf-8").lower()
    if 'level="requireadministrator"' not in manifest:
        fail(path, "the manifest does not ask for administrator rights")
    if WINDOWS_81 in manifest or WINDOWS_10 in manifest:
        fail(path, "the manifest declares Windows 8.1 or 10")

    payload(payload_path, pe.FILE_HEADER.Machine)
    if product_control:
        control = pefile.PE(payload_path)
        hardening(control, payload_path)
        exports(payload_path, ["DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"])


# Windows 95 ------------------------------------------------------------------

# On Windows 95, 98 and Me the W functions of the system DLLs are stubs that fail
# with ERROR_CALL_NOT_IMPLEMENTED, except these, which are real. COM and OLE
# Automation (ole32, oleaut32) are Unicode on every Windows.
REAL_WIDE_ON_WINDOWS_95 = {"MessageBoxW", "MessageBoxExW", "FindResourceW", "FindResourceExW",
                           "EnumResourceTypesW", "EnumResourceNamesW", "EnumResourceLanguagesW"}
UNICODE_EVERYWHERE = {"ole32.dll", "oleaut32.dll"}
# Functions that came after Windows 95 (Windows 98, NT 4 or later) and that an
# allow-list must therefore never name. Not a complete catalogue: a guard
# against the ones that modern code reaches for first.
LATER_THAN_WINDOWS_95 = {
    "InterlockedCompareExchange": "Windows 98 and NT 4",
    "IsDebuggerPresent": "Windows 98 and NT 4",
    "GetFileAttributesExA": "Windows 98 and NT 4",
    "GetLongPathNameA": "Windows 98 and 2000",
    "InitializeCriticalSectionAndSpinCount": "Windows 98 and NT 4 SP3",
    "SwitchToThread": "NT 4, never on Windows 9x",
    "CoInitializeEx": "NT 4, or Windows 95 with the DCOM update only",
    "GetFileSizeEx": "Windows 2000",
    "SetFilePointerEx": "Windows 2000",
    "GetModuleHandleExA": "Windows XP",
    "GetModuleHandleExW": "Windows XP",
    "SetDllDirectoryA": "Windows XP SP1",
    "SetDllDirectoryW": "Windows XP SP1",
    "FlsAlloc": "Windows Vista",
    "GetTickCount64": "Windows Vista",
    "SetDefaultDllDirectories": "Windows 8, or Vista and 7 with KB2533623",
    "AddDllDirectory": "Windows 8, or Vista and 7 with KB2533623",
}


def read_allow_list(path):
    """({(dll, function)}, [problem]) from LIST: one line per function,
    `DLL FUNCTION REASON`, the DLL in lower case; `#` starts a comment line."""
    allowed, problems = set(), []
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            fields = line.split(None, 2)
            if not fields or fields[0].startswith("#"):
                continue
            where = f"{path}:{number}"
            if len(fields) < 3:
                problems.append(f"{where}: expected DLL, function and why it is safe on Windows 95")
                continue
            dll, function = fields[0], fields[1]
            if dll != dll.lower() or not dll.endswith(".dll"):
                problems.append(f"{where}: {dll}: the DLL's file name in lower case, e.g. kernel32.dll")
            elif (dll, function) in allowed:
                problems.append(f"{where}: {dll} {function} is listed twice")
            elif why := not_on_windows_95(dll, function):
                problems.append(f"{where}: {dll} {function} does not belong on the list: {why}")
            allowed.add((dll, function))
    return allowed, problems


def windows95_list(path):
    _, problems = read_allow_list(path)
    if problems:
        sys.exit("\n".join(problems))


def imported_functions(pe):
    """{dll in lower case: [(function name or None, ordinal or None, IAT address)]}"""
    found = {}
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        for symbol in entry.imports:
            found.setdefault(entry.dll.decode().lower(), []).append(
                (symbol.name.decode() if symbol.name else None, None if symbol.name else symbol.ordinal,
                 symbol.address))
    return found


def not_on_windows_95(dll, function):
    """Why the function is known not to work on Windows 95, or None."""
    if function in LATER_THAN_WINDOWS_95:
        return f"it is not on Windows 95 (it came with {LATER_THAN_WINDOWS_95[function]})"
    if function.endswith("W") and dll not in UNICODE_EVERYWHERE and function not in REAL_WIDE_ON_WINDOWS_95:
        return "it is a W function, which Windows 95 has only as a stub that fails; use the A form"
    return None


def import_problems(pe, allowed, dlls):
    """Whole DLLs that the binary may not import from first, then single functions."""
    whole, single = [], []
    for dll, symbols in sorted(imported_functions(pe).items()):
        names = sorted({n if n else f"#{o}" for n, o, _ in symbols})
        if dll not in dlls:
            whole.append(f"{dll} is not allowed for this binary (it may import from {', '.join(sorted(dlls))} "
                         f"only); it imports {', '.join(names)}")
            continue
        for name, ordinal in sorted({(n or "", o or 0) for n, o, _ in symbols}):
            if not name:
                single.append(f"{dll} ordinal {ordinal} is not allowed: imports must be by name, "
                              "so that the allow-list can vouch for them")
            elif (dll, name) not in allowed:
                why = not_on_windows_95(dll, name) or "it is not on the Windows 95 allow-list"
                single.append(f"{dll} {name} is not allowed: {why}")
    return whole + single


def read_map(path):
    """The linker map's symbol assignments {name: address}, the input sections
    [(section, address, size, file)] and the output file's name."""
    symbols, sections, output, pending = {}, [], None, None
    with open(path, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            line = line.rstrip("\n")
            if match := re.match(r"^\s+0x([0-9a-f]+)\s+(\S+) = ", line):
                symbols.setdefault(match.group(2), int(match.group(1), 16))
            elif match := re.match(r"^ (\.\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", line):
                sections.append((match.group(1), int(match.group(2), 16), int(match.group(3), 16), match.group(4)))
            elif pending and (match := re.match(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", line)):
                sections.append((pending, int(match.group(1), 16), int(match.group(2), 16), match.group(3)))
            elif match := re.match(r"^OUTPUT\((.+) \S+\)$", line):
                output = match.group(1)
            pending = match.group(1) if (match := re.match(r"^ (\.\S+)$", line)) else None
    return symbols, sections, output


def contributors(sections, pattern):
    """The files, by base name, whose input sections of that name the map shows, non-empty."""
    return sorted({os.path.basename(f) for name, _, size, f in sections if size and re.fullmatch(pattern, name)})


def own_entry_problems(pe, path, map_path):
    """What an entry point of the binary's own would leave undone: the C run
    time's start-up applies pseudo-relocations, runs the initialisers in .CRT
    and the global constructors; without it, none of that happens."""
    problems = []
    if any(s.Name.rstrip(b"\0") == b".CRT" for s in pe.sections):
        problems.append(".CRT section: C run-time initialisers, which only the C run time's start-up runs")

    symbols, sections, output = read_map(map_path)
    if output is None or os.path.basename(output).lower() != os.path.basename(path).lower():
        return problems + [f"{map_path} is not the linker map of this binary (it is of {output})"]
    base = pe.OPTIONAL_HEADER.ImageBase
    wide = pe.OPTIONAL_HEADER.Magic == 0x20B
    word, size = ("<Q", 8) if wide else ("<I", 4)

    def needed(name):
        if name not in symbols:
            raise LookupError(f"{map_path} does not show {name}; cannot tell what the start-up would do")
        return symbols[name]

    try:
        start, end = needed("__RUNTIME_PSEUDO_RELOC_LIST__"), needed("__RUNTIME_PSEUDO_RELOC_LIST_END__")
        if end > start:
            listed = pe.get_data(start - base, end - start)
            slots = {address - base: f"{dll} {name or f'#{ordinal}'}"
                     for dll, imports in imported_functions(pe).items() for name, ordinal, address in imports}
            header, entries = listed[:12], listed[12:]
            if header == struct.pack("<III", 0, 0, 1):
                fixed = sorted({slots.get(struct.unpack_from("<I", entries, i)[0], "an unknown import")
                                for i in range(0, len(entries) - 11, 12)})
                what = f"({len(entries) // 12}) for data imported without dllimport: {', '.join(fixed)}"
            else:
                what = f"({end - start} bytes)"
            problems.append(f"runtime pseudo-relocations {what}; only the C run time's start-up applies them")

        for kind, pattern in (("constructors", r"\.ctors?(\..*)?"), ("destructors", r"\.dtors?(\..*)?")):
            name = "__CTOR_LIST__" if kind == "constructors" else "__DTOR_LIST__"
            rva = needed(name) - base
            if struct.unpack(word, pe.get_data(rva, size))[0] != (1 << (8 * size)) - 1:
                return problems + [f"{map_path} does not match this binary: no list marker at {name}"]
            count = 0
            while struct.unpack(word, pe.get_data(rva + (count + 1) * size, size))[0]:
                count += 1
            if count:
                problems.append(f"global {kind} ({count}) that only the C run time's start-up runs "
                                f"(from {', '.join(contributors(sections, pattern)) or '?'})")
    except LookupError as missing:
        problems.append(str(missing))
    return problems


def subsystem_problems(pe):
    """Windows 95 and NT 4 refuse a PE32 image that asks for a later subsystem version."""
    header = pe.OPTIONAL_HEADER
    if header.Magic == 0x10B and (header.MajorSubsystemVersion, header.MinorSubsystemVersion) > (4, 0):
        return [f"subsystem version {header.MajorSubsystemVersion}.{header.MinorSubsystemVersion}: "
                "Windows 95 and NT 4 load 4.0 at most"]
    return []


def hardening(pe, path):
    """Later Windows keep ASLR and DEP only with the flags and the relocations they need."""
    header = pe.OPTIONAL_HEADER
    flags = pefile.DLL_CHARACTERISTICS
    for flag, what in (("IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE", "ASLR"), ("IMAGE_DLLCHARACTERISTICS_NX_COMPAT", "DEP")):
        if not header.DllCharacteristics & flags[flag]:
            fail(path, f"no {flag}: later Windows would run it without {what}")
    relocations = header.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    if not relocations.Size:
        fail(path, "no base relocations: it could load at its preferred address only")


# Instructions that the 486 and the first Pentium, on which Windows 95 runs, do not have.
LATER_INSTRUCTIONS = re.compile(r"\t(cmov\w+|fcmov\w+|f(u)?comip?|rdtsc|sysenter|sysexit|pause|movbe)\b|%x?mm[0-9]")


def instruction_problems(pe, path, objdump):
    """A PE32's code must run on a 486: the first instruction of each kind that it lacks."""
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"] or not objdump:
        return []
    listing = subprocess.run([objdump, "-d", path], check=True, capture_output=True, text=True).stdout
    found = {}
    for line in listing.splitlines():
        if match := LATER_INSTRUCTIONS.search(line):
            found.setdefault(match.group(0).strip(), line.split(":")[0].strip())
    return [f"instruction {name} (first at 0x{where}): the 486 and the first Pentium do not have it"
            for name, where in sorted(found.items())]


def windows95(path, list_path, dlls, map_path, objdump=None):
    allowed, problems = read_allow_list(list_path)
    pe = pefile.PE(path)
    problems += instruction_problems(pe, path, objdump)
    problems += import_problems(pe, allowed, {d.lower() for d in dlls})
    tls = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_TLS"]]
    if tls.VirtualAddress or tls.Size:
        problems.append("TLS directory (static thread-local data or TLS callbacks): before Windows Vista a "
                        "library loaded at run time gets no static TLS; use TlsAlloc")
    problems += subsystem_problems(pe)
    if map_path:
        problems += own_entry_problems(pe, path, map_path)
    if problems:
        count = f"{len(problems)} problem" + ("s" if len(problems) > 1 else "")
        sys.exit(f"{path}: will not load or work on Windows 95 ({count}; allow-list {list_path}):\n"
                 + "\n".join("  " + p for p in problems))


# Release ---------------------------------------------------------------------

# WIN_CERTIFICATE's type of an Authenticode signature.
WIN_CERT_TYPE_PKCS_SIGNED_DATA = 2


def build_time_problems(pe):
    """Where a linker writes the time of the build: two builds would differ there."""
    places = [("the file header", pe.FILE_HEADER.TimeDateStamp)]
    for name, attribute in (("export", "DIRECTORY_ENTRY_EXPORT"), ("resource", "DIRECTORY_ENTRY_RESOURCE")):
        if hasattr(pe, attribute):
            places.append((f"the {name} directory", getattr(pe, attribute).struct.TimeDateStamp))
    places += [("a debug directory", d.struct.TimeDateStamp) for d in getattr(pe, "DIRECTORY_ENTRY_DEBUG", [])]
    return [f"build time {datetime.datetime.fromtimestamp(stamp, datetime.timezone.utc):%Y-%m-%d %H:%M:%S} UTC "
            f"in {where}: two builds would differ (link with -Wl,--no-insert-timestamp)"
            for where, stamp in places if stamp]


def signature_problems(pe, data):
    security = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_SECURITY"]]
    if not security.Size:
        return ["no Authenticode signature, though this build signs (TORVALINK_SIGN_COMMAND)"]
    # The security directory's address is a file offset: a WIN_CERTIFICATE there.
    _, _, kind = struct.unpack_from("<IHH", data, security.VirtualAddress)
    if kind != WIN_CERT_TYPE_PKCS_SIGNED_DATA:
        return [f"its certificate table holds a certificate of type {kind}, not an Authenticode signature"]
    return []


def release(path, folders, signed):
    pe = pefile.PE(path)
    problems = build_time_problems(pe)
    with open(path, "rb") as file:
        data = file.read()
    for folder in folders:
        if any(form in data for form in (folder.encode(), folder.encode("utf-16-le"))):
            problems.append(f"holds the path {folder}: builds in other folders would differ "
                            "(-ffile-prefix-map for __FILE__)")
    if signed:
        problems += signature_problems(pe, data)
    if problems:
        sys.exit("\n".join(f"{path}: {problem}" for problem in problems))


def main(argv):
    if argv[1] == "exports":
        exports(argv[2], argv[3:])
    elif argv[1] == "imports":
        known_dlls_only(argv[2])
    elif argv[1] == "payload":
        parser = argparse.ArgumentParser(prog=f"{argv[0]} payload")
        parser.add_argument("payload")
        parser.add_argument("--machine", required=True, choices=sorted(MACHINES))
        parser.add_argument("--without-version", action="store_true")
        args = parser.parse_args(argv[2:])
        payload(args.payload, pefile.MACHINE_TYPE[f"IMAGE_FILE_MACHINE_{args.machine}"], args.without_version)
    elif argv[1] == "installer":
        parser = argparse.ArgumentParser(prog=f"{argv[0]} installer")
        parser.add_argument("exe")
        parser.add_argument("payload")
        parser.add_argument("--version", required=True, help="a.b.c.d")
        parser.add_argument("--product-control", action="store_true")
        args = parser.parse_args(argv[2:])
        installer(args.exe, args.payload, args.version, args.product_control)
    elif argv[1] == "windows95":
        parser = argparse.ArgumentParser(prog=f"{argv[0]} windows95")
        parser.add_argument("file")
        parser.add_argument("list")
        parser.add_argument("--dlls", nargs="+", required=True)
        parser.add_argument("--own-entry", metavar="MAP")
        parser.add_argument("--objdump", help="the toolchain's objdump, to read a PE32's instructions")
        args = parser.parse_args(argv[2:])
        windows95(args.file, args.list, args.dlls, args.own_entry, args.objdump)
    elif argv[1] == "windows95-list":
        windows95_list(argv[2])
    elif argv[1] == "release":
        parser = argparse.ArgumentParser(prog=f"{argv[0]} release")
        parser.add_argument("file")
        parser.add_argument("--paths", nargs="+", required=True, metavar="FOLDER")
        parser.add_argument("--signed", action="store_true")
        args = parser.parse_args(argv[2:])
        release(args.file, args.paths, args.signed)
    else:
        sys.exit("unknown check: " + argv[1])


if __name__ == "__main__":
    main(sys.argv)

#!/usr/bin/python3
"""Build-time checks of a PE file, for the targets that cannot run here.

  exports FILE NAME...   FILE exports exactly these names, undecorated
  imports FILE           FILE imports Known DLLs only
  installer EXE PAYLOAD  EXE is a GUI executable that imports only Known DLLs and
                         carries PAYLOAD as CUSTOM 101 (language 1040), an icon,
                         version 1.0.0.23 and the administrator manifest
"""
import sys

import pefile


def exports(path, names):
    pe = pefile.PE(path, fast_load=False)
    found = sorted(e.name.decode() for e in getattr(pe, "DIRECTORY_ENTRY_EXPORT").symbols if e.name) \
        if hasattr(pe, "DIRECTORY_ENTRY_EXPORT") else []
    if found != sorted(names):
        sys.exit(f"{path}: exports {found}, expected {sorted(names)}")


KNOWN_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "ole32.dll", "oleaut32.dll",
              "shell32.dll", "msvcrt.dll", "comdlg32.dll", "shlwapi.dll", "rpcrt4.dll"}
VERSION_1_0_0_23 = (0x00010000, 23)
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


def file_version(pe, path):
    fixed = getattr(pe, "VS_FIXEDFILEINFO", None)
    if not fixed:
        fail(path, "no version block")
    return fixed[0].FileVersionMS, fixed[0].FileVersionLS


def known_dlls_only(path):
    pe = pefile.PE(path)
    imported = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
    if not imported <= KNOWN_DLLS:
        fail(path, f"imports DLLs that are not Known DLLs: {sorted(imported - KNOWN_DLLS)}")


def installer(path, payload_path):
    pe = pefile.PE(path)
    payload = open(payload_path, "rb").read()
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]:
        fail(path, "not an i386 executable")
    if pe.OPTIONAL_HEADER.Magic != 0x10B:
        fail(path, "not PE32")
    if pe.OPTIONAL_HEADER.Subsystem != pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]:
        fail(path, "not a GUI executable")
    known_dlls_only(path)
    found = resources(pe)
    if found.get(("CUSTOM", 101, 1040)) != payload:
        fail(path, "CUSTOM 101 (language 1040) is not the payload file")
    if not any(k[0] == pefile.RESOURCE_TYPE["RT_GROUP_ICON"] for k in found):
        fail(path, "no icon")
    if file_version(pe, path) != VERSION_1_0_0_23:
        fail(path, "file version is not 1.0.0.23")
    manifests = [v for k, v in found.items() if k[0] == pefile.RESOURCE_TYPE["RT_MANIFEST"]]
    if len(manifests) != 1:
        fail(path, "expected one manifest")
    manifest = manifests[0].decode("utf-8").lower()
    if 'level="requireadministrator"' not in manifest:
        fail(path, "the manifest does not ask for administrator rights")
    if WINDOWS_81 in manifest or WINDOWS_10 in manifest:
        fail(path, "the manifest declares Windows 8.1 or 10")

    control = pefile.PE(payload_path)
    if control.FILE_HEADER.Machine != pe.FILE_HEADER.Machine:
        fail(payload_path, "payload built for another machine")
    exports(payload_path, ["DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"])
    if file_version(control, payload_path) != VERSION_1_0_0_23:
        fail(payload_path, "file version is not 1.0.0.23")


def main(argv):
    if argv[1] == "exports":
        exports(argv[2], argv[3:])
    elif argv[1] == "imports":
        known_dlls_only(argv[2])
    elif argv[1] == "installer":
        installer(argv[2], argv[3])
    else:
        sys.exit("unknown check: " + argv[1])


if __name__ == "__main__":
    main(sys.argv)

#!/usr/bin/python3
"""Prints the benchmark table: size, speed and scale of Setup_TORVALINK beside
an NSIS installer doing the same job, measured in the same run.

  run_benchmarks.py I686_BUILD X86_64_BUILD [--runs N]

Both build trees must have been built with TORVALINK_BENCHMARKS on, and the
Wine prefix of the x86_64 tree prepared (scripts/wine-prepare.sh).
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

CLASS_KEY = r"HKCR\CLSID\{6F1C2A7E-3B4D-4E8A-9C51-2D7B8E0A4F63}"
PROGID_KEY = r"HKCR\TorvaLink.Control.1"
HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, "..", "scripts", "wine-run.sh")


def wine(build, *args, check=True):
    return subprocess.run([WINE_RUN, build, *args], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                          check=check)


def kib(size):
    return f"{size / 1024:.1f} KiB"


def size_rows(i686):
    ours = os.path.getsize(os.path.join(i686, "bin", "Setup_TORVALINK.exe"))
    nsis = os.path.getsize(os.path.join(i686, "bin", "Setup_TORVALINK_nsis.exe"))
    payload = os.path.getsize(os.path.join(i686, "bin", "TORVALINK.ocx"))
    ours_over, nsis_over = ours - payload, nsis - payload
    return [
        ("Size (i686)", "Setup_TORVALINK", "NSIS x86-unicode", "ours / NSIS"),
        ("installer", kib(ours), kib(nsis), f"{ours / nsis:.2f}"),
        ("payload", kib(payload), kib(payload), ""),
        ("overhead (installer - payload)", kib(ours_over), kib(nsis_over), f"{ours_over / nsis_over:.2f}"),
    ]


class Prefix:
    """The installed state of the x86_64 tree's Wine prefix."""

    def __init__(self, build):
        self.build = build
        prefix = os.path.join(build, "wineprefix", "drive_c")
        self.target = os.path.join(prefix, "windows", "system32", "TORVALINK.ocx")
        self.temp = os.path.join(prefix, "users", os.environ.get("USER", "root"), "Temp", "TORVALINK.ocx")

    def reset(self):
        for path in (self.target, self.temp):
            if os.path.exists(path):
                os.remove(path)
        for key in (CLASS_KEY, PROGID_KEY):
            wine(self.build, "reg", "delete", key, "/f", check=False)

    def installed(self):
        return os.path.exists(self.target)


def timed_run(build, exe):
    start = time.perf_counter()
    wine(build, exe)
    return time.perf_counter() - start


def speed(build, exe, prefix, runs, fresh):
    times = []
    for _ in range(runs):
        prefix.reset()
        if not fresh:
            wine(build, exe)  # the same version, installed beforehand
        times.append(timed_run(build, exe))
        if not prefix.installed():
            sys.exit(f"{exe} did not install the control")
    return times


def describe(times):
    return f"{statistics.median(times) * 1000:.0f} ms (±{(max(times) - min(times)) * 500:.0f})"


def speed_rows(build, runs):
    prefix = Prefix(build)
    ours = os.path.join(build, "bin", "Setup_TORVALINK.exe")
    nsis = os.path.join(build, "bin", "Setup_TORVALINK_nsis.exe")
    rows = [(f"Speed (x86_64 under Wine, {runs} runs, median, ±half range)", "Setup_TORVALINK", "NSIS amd64-unicode",
             "ours / NSIS")]
    for label, fresh in (("fresh install", True), ("rerun, same version", False)):
        # Interleaved, so that both see the same machine.
        a, b = [], []
        for _ in range(runs):
            a += speed(build, ours, prefix, 1, fresh)
            b += speed(build, nsis, prefix, 1, fresh)
        rows.append((label, describe(a), describe(b), f"{statistics.median(a) / statistics.median(b):.2f}"))
    prefix.reset()
    return rows


def scale_rows(build, runs):
    rows = [("Scale (x86_64 under Wine)", "SaveDllData", "CopyFile", "save / copy")]
    memory = []
    for mib in (1, 16, 64):
        library = os.path.join(build, "bin", f"bench_{mib}mib.dll")
        out = wine(build, os.path.join(build, "bin", "save_dll_data_bench.exe"), library, str(runs)).stdout
        values = dict(item.split("=") for item in out.split())
        size = int(values["bytes"])
        save, copy = float(values["save_seconds"]), float(values["copy_seconds"])
        rows.append((f"{mib} MiB throughput", f"{size / save / 2**20:.0f} MiB/s", f"{size / copy / 2**20:.0f} MiB/s",
                     f"{copy / save:.2f}"))
        memory.append((mib, int(values["peak_added_bytes"]), size))
    for mib, added, size in memory:
        rows.append((f"{mib} MiB peak commit added by the save", f"{added / 2**20:.2f} MiB", "",
                     f"{added / size:.2f} x size"))
    return rows


def print_table(sections):
    width = [max(len(row[i]) for rows in sections for row in rows) for i in range(4)]
    for rows in sections:
        print()
        for n, row in enumerate(rows):
            print("  ".join(cell.ljust(width[i]) for i, cell in enumerate(row)).rstrip())
            if n == 0:
                print("  ".join("-" * w for w in width))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("i686")
    parser.add_argument("x86_64")
    parser.add_argument("--runs", type=int, default=7)
    args = parser.parse_args()
    print_table([size_rows(args.i686), speed_rows(args.x86_64, args.runs), scale_rows(args.x86_64, args.runs)])


if __name__ == "__main__":
    main()

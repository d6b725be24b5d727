#!/usr/bin/env python3
"""CPU time a Windows program takes under Wine, read from the Linux side.

    wine_cpu.py --match Vitrolux.exe --seconds 25 [--prefix WINEPREFIX]

Prints, as one JSON line, the CPU milliseconds over the interval of the
processes whose command line contains the text, and of the Wine server (which
does part of every window call's work), and the interval itself. CPU time is
summed over the threads' /proc/<pid>/task/*/schedstat, in nanoseconds (the
user and system times of /proc/<pid>/stat come in 10 ms ticks, too coarse
for a fraction of a per cent); a thread that ends during the interval would
take its time along, which the programs measured here do not do.
"""
import argparse
import json
import os
import sys
import time


def prefix_of(pid):
    try:
        with open(f"/proc/{pid}/environ", "rb") as f:
            for item in f.read().split(b"\0"):
                if item.startswith(b"WINEPREFIX="):
                    return os.path.realpath(item[len(b"WINEPREFIX="):].decode("utf-8", "replace"))
    except OSError:
        pass
    return None


def matching_pids(text, prefix):
    """Processes of this Wine prefix only: other sessions may run the same
    programs on the same machine."""
    pids = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                cmdline = f.read().replace(b"\0", b" ").decode("utf-8", "replace")
        except OSError:
            continue
        if text in cmdline and "wine_cpu.py" not in cmdline and "bash" not in cmdline:
            if prefix is None or prefix_of(entry) == prefix:
                pids.append(int(entry))
    return pids


def cpu_ns(pids):
    total = 0
    for pid in pids:
        try:
            for task in os.listdir(f"/proc/{pid}/task"):
                with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                    total += int(f.read().split()[0])
        except OSError:
            pass  # gone meanwhile
    return total


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--match", required=True)
    parser.add_argument("--seconds", type=float, default=25)
    parser.add_argument("--prefix", default=os.environ.get("WINEPREFIX"))
    args = parser.parse_args()
    prefix = os.path.realpath(args.prefix) if args.prefix else None
    program = matching_pids(args.match, prefix)
    server = matching_pids("wineserver", prefix)
    if not program:
        print(json.dumps({"error": f"no process matches {args.match}"}))
        return 1
    if os.environ.get("WINE_CPU_VERBOSE"):
        for pid in program + server:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                print(pid, f.read().replace(b"\0", b" ").decode(), file=sys.stderr)
    start = time.monotonic()
    before = (cpu_ns(program), cpu_ns(server))
    time.sleep(args.seconds)
    after = (cpu_ns(program), cpu_ns(server))
    elapsed = time.monotonic() - start
    print(json.dumps({
        "match": args.match,
        "seconds": round(elapsed, 3),
        "program_cpu_ms": round((after[0] - before[0]) / 1e6, 3),
        "server_cpu_ms": round((after[1] - before[1]) / 1e6, 3),
    }))
    return 0


if __name__ == "__main__":
    raise SystemExit(main())

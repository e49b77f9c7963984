#!/usr/bin/env python3
"""The plistlib anchor of bench/compare: the same jobs as ours on the same file, timed the same way.

plistlib_harness.py --op load|dump|save|export --file FILE [--runs K] [--max-ms T] [--memory]
  load    plistlib.loads of the file's bytes (the values are dropped outside the timing)
  dump    plistlib.dumps of the file's values
  save    a read-modify-write of a capture on a copy of the file: read the bytes, load, append a
          record to the first section's list, dump, write a temporary file, fsync, rename it over
          the file, fsync the folder
  export  the file as one JSON document with the texts the Saved tab shows, as
          `lapvane times export --format json` writes it (timed as a whole process by the caller)
Prints one JSON line like lapvane_compare's.
"""

import argparse
import ctypes
import datetime
import json
import os
import plistlib
import shutil
import sys
import tempfile
import time


def clock_text(seconds):
    """The stopwatch's text of a time in seconds: tenths, then minutes and hours when present."""
    x = round(seconds, 1)
    m = int(x // 60)
    h = m // 60
    mm = m - 60 * h
    s = x - 60 * m
    text = f"{h}:" if h >= 1 else ""
    if mm > 0:
        text += f"{mm:02d}:" if h >= 1 or mm < 10 else f"{mm}:"
        if 0 < s < 10:
            text += "0"
    return text + f"{s:.1f}"


def export(root):
    sections = []
    for name in root.get("Sections", []):
        records = []
        for record in root.get("Times - " + name, []):
            date = record.get("Date")
            records.append({
                "total": record.get("Total Time", 0),
                "total_text": "Time: " + clock_text(record.get("Total Time", 0)),
                "date": date.strftime("%Y-%m-%dT%H:%M:%SZ") if date else None,
                "date_text": date.strftime("%a, %b %-d, %Y") if date else None,
                "last_lap": record.get("Last Lap", 0),
                "laps": record.get("All Laps", []),
                "lap_texts": [clock_text(lap) for lap in record.get("All Laps", [])],
            })
        sections.append({"name": name, "records": records})
    return json.dumps({"sections": sections}, separators=(",", ":"))


def write_durably(path, data):
    temporary = path + ".plistlib"
    with open(temporary, "wb") as out:
        out.write(data)
        out.flush()
        os.fsync(out.fileno())
    os.rename(temporary, path)
    folder = os.open(os.path.dirname(path), os.O_RDONLY | os.O_DIRECTORY)
    try:
        os.fsync(folder)
    finally:
        os.close(folder)


def save(path):
    with open(path, "rb") as f:
        root = plistlib.loads(f.read())
    first = root["Sections"][0]
    root.setdefault("Times - " + first, []).append({
        "Last Lap": 31.25,
        "All Laps": [42.5, 37.75, 31.25],
        "Total Time": 111.5,
        "Date": datetime.datetime(2026, 5, 9, 0, 53, 20),
    })
    write_durably(path, plistlib.dumps(root, sort_keys=False))


def memory_kb(label):
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith(label):
                return int(line.split()[1])
    return 0


def start_peak():
    try:
        ctypes.CDLL("libc.so.6").malloc_trim(0)
        with open("/proc/self/clear_refs", "w") as clear:
            clear.write("5")
    except OSError:
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--op", required=True, choices=["load", "dump", "save", "export"])
    parser.add_argument("--file", required=True)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--max-ms", type=float, default=0)
    parser.add_argument("--memory", action="store_true")
    args = parser.parse_args()

    with open(args.file, "rb") as f:
        data = f.read()
    line = {"op": args.op, "file_bytes": len(data)}
    folder = None
    try:
        values = plistlib.loads(data) if args.op in ("dump", "export") else None
        if args.op == "save":
            folder = tempfile.mkdtemp(prefix="lapvane-plistlib-")
            copy = os.path.join(folder, "saved.plist")
            write_durably(copy, data)
        jobs = {
            "load": lambda: plistlib.loads(data),
            "dump": lambda: plistlib.dumps(values, sort_keys=False),
            "save": lambda: save(copy),
            "export": lambda: export(values),
        }
        job = jobs[args.op]
        if args.memory:
            start_peak()
            base = memory_kb("VmRSS:")
            kept = job()
            peak = memory_kb("VmHWM:")
            del kept
            line.update(base_bytes=base * 1024, peak_bytes=peak * 1024,
                        peak_extra_bytes=max(peak - base, 0) * 1024)
        else:
            times = []
            spent = 0.0
            for _ in range(max(args.runs, 1)):
                if args.max_ms > 0 and spent >= args.max_ms:
                    break
                start = time.perf_counter()
                kept = job()
                took = (time.perf_counter() - start) * 1e3
                del kept
                times.append(took)
                spent += took
            line["ms"] = times
    except Exception as error:  # reported to the caller as the run's failure
        line["error"] = f"{type(error).__name__}: {error}"
        print(json.dumps(line))
        return 1
    finally:
        if folder:
            shutil.rmtree(folder, ignore_errors=True)
    print(json.dumps(line))
    return 0


if __name__ == "__main__":
    sys.exit(main())

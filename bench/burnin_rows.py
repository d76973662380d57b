#!/usr/bin/env python3
"""The burn-in bench's clock on tessaly-cmd's rows (bench/burnin.sh).

"stamp": copies standard input to FILE, each line after the wall-clock time it arrived at, so
that a row's arrival can be set against the local time in its first field (the start of its
round, as the run read the same clock).
"rounds FILE INTERVAL": from a stamped file, the round times (a row's arrival less its round's
start: the time from the round's start on the first instrument to the row written once every
instrument had finished it) and each row's lateness (its elapsed_s less its round's due time).
Prints "rows N", "round_ms MEDIAN P95 MAX" and "late_ms MAX".
"""
import csv
import datetime
import statistics
import sys
import time


def stamp(path):
    with open(path, "w") as out:
        for line in sys.stdin:
            out.write(f"{time.time():.6f} {line.rstrip()}\n")
            out.flush()


def rounds(path, interval_s):
    round_ms, late_ms = [], []
    with open(path) as stamped:
        lines = [line.rstrip("\n").split(" ", 1) for line in stamped]
    records = list(csv.reader([text for _, text in lines]))
    for (arrived, _), fields in zip(lines[1:], records[1:]):
        started = datetime.datetime.fromisoformat(fields[0]).timestamp()
        round_ms.append((float(arrived) - started) * 1000)
        k = len(late_ms)
        late_ms.append(float(fields[1]) * 1000 - k * interval_s * 1000)
    if not round_ms:
        print("rows 0")
        return
    ordered = sorted(round_ms)
    p95 = ordered[min(len(ordered) - 1, int(0.95 * len(ordered)))]
    print(f"rows {len(round_ms)}")
    print(f"round_ms {statistics.median(round_ms):.1f} {p95:.1f} {max(round_ms):.1f}")
    print(f"late_ms {max(late_ms):.1f}")


if __name__ == "__main__":
    if sys.argv[1] == "stamp":
        stamp(sys.argv[2])
    else:
        rounds(sys.argv[2], float(sys.argv[3]))

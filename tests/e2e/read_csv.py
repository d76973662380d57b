#!/usr/bin/env python3
"""Reads back, with Python's csv module, the CSV file that tessaly-cmd wrote in the logging run
of tests/e2e/cmd_test.cpp (CmdLogging.RowsFollowTheInstrumentAndAFailedQueryKeepsItsCell), and
compares it with the cells that test expected: the header, every answer and failure text in its
column, a local time with milliseconds and rising seconds in each row (within 0.1 s of the
round's due time where the test knows it), and CR LF record ends.
Usage: read_csv.py BASE (BASE.csv and BASE.expected, the latter one tab-separated row a line)."""
import csv
import re
import sys

base = sys.argv[1]
with open(base + ".csv", "rb") as f:
    raw = f.read()
with open(base + ".csv", newline="", encoding="ascii") as f:
    rows = list(csv.reader(f, strict=True))
with open(base + ".expected", newline="", encoding="ascii") as f:
    expected = [line.rstrip("\n").split("\t") for line in f]

problems = []
if raw.count(b"\r\n") != len(rows) or raw.replace(b"\r\n", b"").count(b"\n") != 0:
    problems.append("records do not all end in CR LF")
if len(rows) != len(expected):
    problems.append(f"{len(rows)} records, expected {len(expected)}")
elif rows[0] != expected[0]:
    problems.append(f"header {rows[0]}, expected {expected[0]}")
previous = -1.0
for number, (row, cells) in enumerate(zip(rows[1:], expected[1:]), start=2):
    if len(row) != len(cells):
        problems.append(f"record {number}: {len(row)} fields, expected {len(cells)}")
        continue
    if not re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}", row[0]):
        problems.append(f"record {number}: time {row[0]!r}")
    if not re.fullmatch(r"\d+\.\d{3}", row[1]) or float(row[1]) <= previous:
        problems.append(f"record {number}: elapsed_s {row[1]!r} after {previous}")
    elif cells[1] and abs(float(row[1]) - float(cells[1])) > 0.1:
        problems.append(f"record {number}: elapsed_s {row[1]}, due at {cells[1]}")
    else:
        previous = float(row[1])
    if row[2:] != cells[2:]:
        problems.append(f"record {number}: {row[2:]}, expected {cells[2:]}")
for problem in problems:
    print("read_csv:", problem)
if not problems:
    print(f"read_csv: pass: {len(rows)} records of {len(rows[0])} fields")
sys.exit(1 if problems else 0)

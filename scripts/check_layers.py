#!/usr/bin/env python3
"""The layering check: every include of the program's folders stays on its own floor or below.

The floors are read from the table in docs/architecture.md ("| `folder/` | holds | may include |"),
so the picture and the check are one fact. A folder's own files may always include each other,
except that no link file but the rules themselves includes the link rules: a link reports what
happened in the state record and the rules act on it after the step returns.

    check_layers.py [ROOT]   exits 1 and prints "file:line: includes x, ..." for each breach.
"""
import pathlib
import re
import sys

TABLE_ROW = re.compile(r"^\|\s*`([a-z_]+)/`\s*\|[^|]*\|([^|]*)\|\s*$")
FOLDER = re.compile(r"`([a-z_]+)/`")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE_SUFFIXES = {".h", ".cpp", ".rc"}
LINK_RULES = "link/link_rules.h"
LINK_RULES_OWN = {"link/link_rules.h", "link/link_rules.cpp"}


def read_floors(root):
    """{folder: set of folders it may include}, from the architecture document's table."""
    floors = {}
    doc = root / "docs" / "architecture.md"
    for line in doc.read_text(encoding="utf-8").splitlines():
        row = TABLE_ROW.match(line)
        if row:
            floors[row.group(1)] = set(FOLDER.findall(row.group(2)))
    return floors


def breaches(root):
    floors = read_floors(root)
    if not floors:
        return ["docs/architecture.md: no table of folders and what each may include"]
    found = []
    for folder, allowed in sorted(floors.items()):
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
                continue
            name = path.relative_to(root).as_posix()
            lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
            for number, line in enumerate(lines, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                included = match.group(1)
                target = included.split("/")[0] if "/" in included else folder
                where = f"{name}:{number}: includes {included}"
                if target != folder and target not in allowed:
                    found.append(f"{where}, but {folder}/ may include only "
                                 f"{', '.join(sorted(f + '/' for f in allowed)) or 'itself'}")
                elif included == LINK_RULES and name not in LINK_RULES_OWN and folder == "link":
                    found.append(f"{where}: a link leaves its outcome in the state record "
                                 "and never calls the link rules")
    return found


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    found = breaches(root)
    for line in found:
        print(line)
    if found:
        print(f"layering: {len(found)} include(s) run against the floors of docs/architecture.md")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

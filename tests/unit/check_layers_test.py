#!/usr/bin/env python3
"""The layering check fails, naming file, line and include, on an include that runs upward and on
a link file that reaches for the link rules; it passes the same tree without them."""
import pathlib
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]


def run_check(tree):
    return subprocess.run([sys.executable, str(ROOT / "scripts/check_layers.py"), str(tree)],
                          capture_output=True, text=True)


def main():
    with tempfile.TemporaryDirectory() as scratch:
        tree = pathlib.Path(scratch)
        (tree / "docs").mkdir()
        shutil.copy(ROOT / "docs/architecture.md", tree / "docs/architecture.md")
        for folder in ("core", "link", "panels", "app"):
            (tree / folder).mkdir()
        (tree / "core/app_state.h").write_text('#include "core/platform_types.h"\n')
        (tree / "panels/transaction.cpp").write_text('#include "link/link_rules.h"\n')
        (tree / "link/link_rules.cpp").write_text('#include "link/link_rules.h"\n')
        clean = run_check(tree)
        assert clean.returncode == 0, clean.stdout

        (tree / "link/tcp_win.cpp").write_text(
            '#include "core/app_state.h"\n#include "app/dialog.h"\n#include "link/link_rules.h"\n')
        (tree / "core/app_state.h").write_text('#include "panels/panel_table.h"\n')
        broken = run_check(tree)
        assert broken.returncode == 1, broken.stdout
        lines = broken.stdout.splitlines()
        expected = ("core/app_state.h:1: includes panels/panel_table.h",
                    "link/tcp_win.cpp:2: includes app/dialog.h",
                    "link/tcp_win.cpp:3: includes link/link_rules.h")
        for start in expected:
            assert any(line.startswith(start) for line in lines), (start, broken.stdout)
        assert len(lines) == len(expected) + 1, broken.stdout  # and the count line
    print("check_layers_test: passed")


if __name__ == "__main__":
    main()

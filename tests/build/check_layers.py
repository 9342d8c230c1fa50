#!/usr/bin/env python3
"""The layers of docs/architecture.md, kept.

includes ROOT: every quoted #include in a folder of the table "Folders and what
they may use" must name a header of the same folder or of one whose name stands
in backticks in its "May use" cell (`src/` for all of src/). A file in src/,
tools/ or sim/ outside every row of the table fails too: a new folder needs a row.

needs-no-widgets BINARY...: none of the programs links Qt Widgets (or Qt Gui).
"""
import re
import subprocess
import sys
from pathlib import Path

CHECKED = ("src", "tools", "sim")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)
FORBIDDEN_LIBS = ("libQt6Widgets", "libQt6Gui")


def folder_table(doc):
    """{folder: set of folders it may use} from the table's rows."""
    text = doc.read_text(encoding="utf-8")
    section = text.split("## Folders and what they may use", 1)[1].split("\n## ", 1)[0]
    rows = [line.split("|")[1:-1] for line in section.splitlines() if line.startswith("| `")]
    folders = [re.search(r"`([^`]+)`", cells[0]).group(1).rstrip("/") for cells in rows]
    by_name = {}
    for f in folders:
        by_name[f] = f
        by_name[f.rsplit("/", 1)[-1]] = f
    allowed = {}
    for f, cells in zip(folders, rows):
        uses = {f}
        for word in re.findall(r"`([^`]+)`", cells[-1]):
            word = word.rstrip("/")
            if word == "src":
                uses |= {g for g in folders if g.startswith("src/")}
            elif word in by_name:
                uses.add(by_name[word])
        allowed[f] = uses
    return allowed


def folder_of(path, folders):
    """The deepest table folder holding path (relative to the root), else None."""
    best = None
    for f in folders:
        if path == f or path.startswith(f + "/"):
            if best is None or len(f) > len(best):
                best = f
    return best


def resolve(root, source, name):
    """The header a quoted include names, relative to root; None for generated ones."""
    for base in (source.parent, root / "src", root):
        for candidate in (base / name, base / (name + ".in")):
            if candidate.is_file():
                return candidate.resolve().relative_to(root).as_posix()
    return None


def check_includes(root):
    allowed = folder_table(root / "docs" / "architecture.md")
    faults = []
    for top in CHECKED:
        for source in sorted((root / top).rglob("*")):
            if source.suffix not in (".cpp", ".h") or not source.is_file():
                continue
            rel = source.relative_to(root).as_posix()
            home = folder_of(rel, allowed)
            if home is None:
                faults.append(f"{rel}: its folder has no row in the folder table")
                continue
            for name in INCLUDE.findall(source.read_text(encoding="utf-8", errors="replace")):
                header = resolve(root, source, name)
                if header is None:
                    continue
                target = folder_of(header, allowed)
                if target is not None and target not in allowed[home]:
                    faults.append(f"{rel}: includes {name} ({target}/), which {home}/ may not use")
    return faults


def check_no_widgets(programs):
    faults = []
    for program in programs:
        dynamic = subprocess.run(["readelf", "-d", program], capture_output=True, text=True, check=True).stdout
        needed = re.findall(r"\(NEEDED\).*\[(.+)\]", dynamic)
        if not needed:
            faults.append(f"{program}: readelf shows no needed libraries")
        faults += [f"{program} needs {lib}" for lib in needed if lib.startswith(FORBIDDEN_LIBS)]
    return faults


def main(argv):
    if len(argv) >= 3 and argv[1] == "includes":
        faults = check_includes(Path(argv[2]).resolve())
    elif len(argv) >= 3 and argv[1] == "needs-no-widgets":
        faults = check_no_widgets(argv[2:])
    else:
        print(__doc__)
        return 2
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

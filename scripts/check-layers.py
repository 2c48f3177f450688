#!/usr/bin/env python3
"""Checks the folders of src/ against the layering their CMakeLists.txt declare.

Every folder of src/core and src/ui is a library whose CMakeLists.txt names in
target_link_libraries the folders it may use. The build already refuses an
include of a folder that is not linked at all; this check refuses what the
build lets through:
  - a cycle between folders (CMake links static libraries in a cycle without
    a word);
  - an include of a folder that is reachable only through another one, i.e.
    not named by the including folder itself;
  - an include that climbs out of its folder with "..".

Usage: check-layers.py [SRC_DIR]      (default: the src/ beside this script)
       check-layers.py --self-test    (plants each fault in a scratch tree)
Exits 1 and names every offence when there is one.
"""
import os
import re
import sys
import tempfile

SIDES = ("core", "ui")
LIBRARY = re.compile(r"rydex_add_library\(\s*(rydex_\w+)")
LINKS = re.compile(r"target_link_libraries\(\s*(rydex_\w+)([^)]*)\)", re.S)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder_of(target):
    if target.startswith("rydex_ui_"):
        return "ui/" + target[len("rydex_ui_"):]
    return "core/" + target[len("rydex_"):]


def read_folders(src):
    """Each folder ("core/store") with the folders its CMakeLists.txt links."""
    folders = {}
    for side in SIDES:
        side_dir = os.path.join(src, side)
        if not os.path.isdir(side_dir):
            continue
        for name in sorted(os.listdir(side_dir)):
            cmake = os.path.join(side_dir, name, "CMakeLists.txt")
            if not os.path.isfile(cmake):
                continue
            text = open(cmake, encoding="utf-8").read()
            folder = f"{side}/{name}"
            uses = set()
            for target, args in LINKS.findall(text):
                if folder_of(target) != folder:
                    continue
                uses.update(folder_of(t) for t in re.findall(r"\brydex_\w+", args))
            folders[folder] = uses
    return folders


def find_cycle(folders):
    """One cycle as a list of folders, or None."""
    state = {}
    path = []

    def visit(folder):
        state[folder] = "open"
        path.append(folder)
        for used in sorted(folders.get(folder, ())):
            if state.get(used) == "open":
                return path[path.index(used):] + [used]
            if used not in state:
                found = visit(used)
                if found:
                    return found
        path.pop()
        state[folder] = "done"
        return None

    for folder in sorted(folders):
        if folder not in state:
            found = visit(folder)
            if found:
                return found
    return None


def included_folder(src, side, include):
    """The folder an include such as "store/ADOTable.h" reaches, or None."""
    if "/" not in include:
        return None
    prefix = include.split("/")[0]
    # A window folder's include of "records/X.h" is its own side's records
    # when the file is there, else the core's.
    for s in (("ui", "core") if side == "ui" else ("core",)):
        if os.path.exists(os.path.join(src, s, include)):
            return f"{s}/{prefix}"
    if side == "core" and os.path.exists(os.path.join(src, "ui", include)):
        return f"ui/{prefix}"
    return None


def check(src):
    offences = []
    folders = read_folders(src)
    for folder, uses in sorted(folders.items()):
        for used in sorted(uses - set(folders)):
            offences.append(f"{folder}/CMakeLists.txt links {used}, which is no folder")
    cycle = find_cycle(folders)
    if cycle:
        offences.append("folder cycle: " + " -> ".join(cycle))
    for folder, uses in sorted(folders.items()):
        side = folder.split("/")[0]
        folder_dir = os.path.join(src, folder)
        for name in sorted(os.listdir(folder_dir)):
            if not name.endswith((".h", ".cpp")):
                continue
            text = open(os.path.join(folder_dir, name), encoding="utf-8").read()
            for include in INCLUDE.findall(text):
                where = f"{folder}/{name}: \"{include}\""
                if ".." in include.split("/"):
                    offences.append(f"{where} climbs out of its folder")
                    continue
                reached = included_folder(src, side, include)
                if reached and reached != folder and reached not in uses:
                    offences.append(f"{where} reaches {reached}, which "
                                    f"{folder}/CMakeLists.txt does not link")
    return offences


def self_test():
    """Plants each fault in a scratch tree and expects it to be named."""
    def tree(root, files):
        for path, text in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as f:
                f.write(text)

    def lib(target, uses=""):
        return (f"rydex_add_library({target} a.cpp)\n"
                + (f"target_link_libraries({target} PUBLIC {uses})\n" if uses else ""))

    sound = {
        "core/base/CMakeLists.txt": lib("rydex_base"),
        "core/base/a.cpp": "#include <QString>\n",
        "core/store/CMakeLists.txt": lib("rydex_store", "rydex_base Qt6::Sql"),
        "core/store/a.cpp": '#include "base/a.cpp"\n#include "store/a.cpp"\n',
        "ui/app/CMakeLists.txt": lib("rydex_ui_app", "rydex_store"),
        "ui/app/a.cpp": '#include "store/a.cpp"\n',
    }
    faults = {
        "cycle": {"core/base/CMakeLists.txt": lib("rydex_base", "rydex_store")},
        "does not link": {"ui/app/a.cpp": '#include "base/a.cpp"\n'},
        "climbs out": {"core/store/a.cpp": '#include "../base/a.cpp"\n'},
        "reaches ui/app": {"core/store/a.cpp": '#include "app/a.cpp"\n'},
        "which is no folder": {"ui/app/CMakeLists.txt": lib("rydex_ui_app", "rydex_nothing")},
    }
    failures = []
    with tempfile.TemporaryDirectory() as root:
        tree(root, sound)
        if check(root):
            failures.append(f"a sound tree was refused: {check(root)}")
    for expected, change in faults.items():
        with tempfile.TemporaryDirectory() as root:
            tree(root, {**sound, **change})
            found = check(root)
            if not any(expected in offence for offence in found):
                failures.append(f"'{expected}' not found; the check said {found}")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "src")
    offences = check(src)
    for offence in offences:
        print(offence)
    if not offences:
        print(f"{len(read_folders(src))} folders, no cycle, every include along a declared edge")
    return 1 if offences else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Checks that the project's includes point down the floors of the tree.

Reads the quoted includes of every production file (tests, benches, fuzz
targets and scripts are not production), maps each file to its folder (a
top folder; a sub-folder of the toolkit, whose floors are finer) and prints
the folder graph, every include that runs up or sideways against FLOORS,
and every cycle between folders. Exits 1 when there is either.

Usage: floors.py [REPOSITORY]   (default: the folder above this script)
"""

import os
import re
import sys

# Lowest first. A folder may include its own files and folders on lower
# floors; folders that share a floor stand apart and include each other not.
FLOORS = [
    ["platform"],
    # Widgets and helpers every program shares (about box, log window, ...).
    ["common"],
    # The toolkit is a library of frames, bars and docking built on the class
    # library alone; its sub-folders have floors of their own.
    ["toolkit/colors"],
    ["toolkit/state", "toolkit/filters"],
    ["toolkit/bars", "toolkit/tabs"],
    ["toolkit/docking"],
    ["toolkit/frames"],
    ["toolkit/toolbars"],
    ["toolkit/menus", "toolkit/buttons"],
    ["listctrl", "image"],
    ["devices"],
    ["library"],
    ["mp3"],
    ["core"],
    # The programs.
    ["shell", "server", "irteach", "fwupgrader", "faultscout"],
]

# Folders with production code only in the sub-folders we skip.
NOT_PRODUCTION = {"bench", "build", "cmake", "fuzz", "scripts", "tests"}
SOURCE_ENDINGS = (".h", ".hpp", ".c", ".cpp", ".rc", ".idl")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
# Folders divided into floors of their own.
SPLIT_FOLDERS = {"toolkit"}


def folder_of(path):
    """The graph node a repository path belongs to."""
    parts = path.split("/")
    if parts[0] in SPLIT_FOLDERS and len(parts) > 2:
        return parts[0] + "/" + parts[1]
    return parts[0]


def production_files(repo):
    for here, folders, files in os.walk(repo):
        rel = os.path.relpath(here, repo)
        folders[:] = sorted(
            name for name in folders
            if not name.startswith(".") and name != "tests"
            and not (rel == "." and name in NOT_PRODUCTION))
        if rel == ".":
            continue
        for name in sorted(files):
            if name.endswith(SOURCE_ENDINGS):
                yield os.path.normpath(os.path.join(rel, name))


def resolve(repo, including, target):
    """The repository path an include names, or None for a header from
    outside (the stand-in SDK headers and the system's)."""
    for candidate in (target, os.path.join(os.path.dirname(including), target)):
        candidate = os.path.normpath(candidate)
        if os.path.isfile(os.path.join(repo, candidate)):
            return candidate
    return None


def read_includes(repo):
    """(file, line number, included file) for every project include."""
    found = []
    for path in production_files(repo):
        with open(os.path.join(repo, path), encoding="latin-1") as text:
            for number, line in enumerate(text, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = resolve(repo, path, match.group(1))
                if target:
                    found.append((path, number, target))
    return found


def floor_numbers(floors):
    return {folder: level for level, group in enumerate(floors) for folder in group}


def folder_graph(includes):
    """{(from folder, to folder): count} of includes that leave a folder."""
    edges = {}
    for path, _, target in includes:
        key = (folder_of(path), folder_of(target))
        if key[0] != key[1]:
            edges[key] = edges.get(key, 0) + 1
    return edges


def wrong_way(includes, floors):
    """Includes that run up or sideways, and folders with no floor."""
    level = floor_numbers(floors)
    wrong, unplaced = [], set()
    for path, number, target in includes:
        source, dest = folder_of(path), folder_of(target)
        if source == dest:
            continue
        for folder in (source, dest):
            if folder not in level:
                unplaced.add(folder)
        if source in level and dest in level and level[dest] >= level[source]:
            way = "up" if level[dest] > level[source] else "sideways"
            wrong.append((path, number, target, way))
    return wrong, sorted(unplaced)


def cycles(edges):
    """The strongly connected groups of more than one folder (Tarjan)."""
    successors = {}
    for source, dest in edges:
        successors.setdefault(source, []).append(dest)
        successors.setdefault(dest, [])
    index, low, stack, on_stack, groups = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for next_node in sorted(successors[node]):
            if next_node not in index:
                visit(next_node)
                low[node] = min(low[node], low[next_node])
            elif next_node in on_stack:
                low[node] = min(low[node], index[next_node])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    for node in sorted(successors):
        if node not in index:
            visit(node)
    return sorted(groups)


def report(repo, floors, out):
    """Prints the graph and the faults; returns the number of faults."""
    includes = read_includes(repo)
    edges = folder_graph(includes)
    level = floor_numbers(floors)
    out.write("Floors, lowest first:\n")
    for number, group in enumerate(floors):
        out.write("  %d  %s\n" % (number, "  ".join(group)))
    out.write("\nFolder graph (includes from -> to):\n")
    for (source, dest), count in sorted(edges.items()):
        out.write("  %-18s -> %-18s %4d\n" % (source, dest, count))
    wrong, unplaced = wrong_way(includes, floors)
    out.write("\nIncludes that run up or sideways: %d\n" % len(wrong))
    for path, number, target, way in wrong:
        out.write("  %s:%d includes %s (%s: %s floor %d -> %s floor %d)\n" % (
            path, number, target, way, folder_of(path), level[folder_of(path)],
            folder_of(target), level[folder_of(target)]))
    groups = cycles(edges)
    out.write("\nCycles between folders: %d\n" % len(groups))
    for group in groups:
        out.write("  " + " <-> ".join(group) + "\n")
    if unplaced:
        out.write("\nFolders with no floor: %s\n" % ", ".join(unplaced))
    return len(wrong) + len(groups) + len(unplaced)


def main(argv):
    repo = argv[1] if len(argv) > 1 else os.path.dirname(
        os.path.dirname(os.path.abspath(__file__)))
    return 1 if report(repo, FLOORS, sys.stdout) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

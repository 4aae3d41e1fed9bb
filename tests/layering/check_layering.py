#!/usr/bin/env python3
"""Checks the #include "..." lines of src/ against the folder layers of the engine and the game.

Layers, lowest first; a folder may include its own folder and any lower layer, never a higher
one, and never a peer in its own layer:

    core <- platform <- archive <- graphics, sound <- cards <- widgets <- animation <- app <- scenes

Subfolders of platform count as platform. scenes/ itself, scenes/match and scenes/menu are the
scenes layer; scenes/ may use both, but match and menu must not include each other. Files
directly in src/ (the program's entry) stand above every layer. Beside the layer order the
folder graph is searched for circles (the scenes layer counting as one folder), so a broken
order also shows up as the loop it makes.

Usage: check_layering.py SRC_DIR     prints each violation as file:line include, exit 1 if any
       check_layering.py --self-test checks the checker on a small made-up tree
"""
import os
import re
import sys
import tempfile

LAYERS = [
    ["core"],
    ["platform"],
    ["archive"],
    ["graphics", "sound"],
    ["cards"],
    ["widgets"],
    ["animation"],
    ["app"],
    ["scenes", "scenes/match", "scenes/menu"],
]
# Folders of one layer that may include each other's headers (the scenes root hands out to both
# halves, and either half may use what the root declares).
SHARED = {("scenes/match", "scenes"), ("scenes/menu", "scenes"), ("scenes", "scenes/match"),
          ("scenes", "scenes/menu")}
TOP = "(src)"

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCE_EXT = (".h", ".hpp", ".cpp", ".cc", ".c", ".inc")


def rank_of(folder):
    if folder == TOP:
        return len(LAYERS)
    for r, names in enumerate(LAYERS):
        if folder in names:
            return r
    return None


def folder_of(rel):
    """The layering folder of a path relative to src/ (forward slashes)."""
    parts = rel.split("/")
    if len(parts) == 1:
        return TOP
    if parts[0] == "scenes" and len(parts) > 2 and parts[1] in ("match", "menu"):
        return "scenes/" + parts[1]
    return parts[0]


def resolve(src, including_rel, target):
    """The include's path relative to src/, or None when it is not a file of src/."""
    here = os.path.dirname(including_rel)
    for base in (here, ""):
        cand = os.path.normpath(os.path.join(base, target)).replace(os.sep, "/")
        if not cand.startswith("..") and os.path.isfile(os.path.join(src, cand)):
            return cand
    return None


def scan(src):
    """Yields (file, line, include text, from folder, to folder) for every include of src/."""
    for root, _dirs, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith(SOURCE_EXT):
                continue
            path = os.path.join(root, name)
            rel = os.path.relpath(path, src).replace(os.sep, "/")
            with open(path, encoding="utf-8", errors="replace") as f:
                for n, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    target = resolve(src, rel, m.group(1))
                    if target is None:
                        continue  # generated or outside src/: not part of the layering
                    yield rel, n, m.group(1), folder_of(rel), folder_of(target)


def cycles(edges):
    """Strongly connected groups of more than one folder in the folder graph."""
    nodes = sorted({a for a, _ in edges} | {b for _, b in edges})
    graph = {v: sorted({b for a, b in edges if a == v}) for v in nodes}
    index, low, stack, on_stack, out = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in graph[v]:
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                out.append(sorted(group))

    for v in nodes:
        if v not in index:
            visit(v)
    return out


def check(src):
    """Returns the list of violation lines (empty when the layering holds)."""
    problems = []
    edges = set()
    for rel, n, text, a, b in scan(src):
        if a == b:
            continue
        # For circles the scenes layer is one node: its halves are kept apart by the peer rule.
        ca, cb = a.split("/")[0], b.split("/")[0]
        if ca != cb:
            edges.add((ca, cb))
        ra, rb = rank_of(a), rank_of(b)
        where = f"{rel}:{n} #include \"{text}\""
        if ra is None:
            problems.append(f"{where}: folder '{a}' has no layer")
        elif rb is None:
            problems.append(f"{where}: folder '{b}' has no layer")
        elif rb > ra:
            problems.append(f"{where}: {a} must not include {b} (a higher layer)")
        elif rb == ra and (a, b) not in SHARED:
            problems.append(f"{where}: {a} must not include its peer {b}")
    for group in cycles(edges):
        problems.append("include circle between folders: " + " <-> ".join(group))
    return problems


def self_test():
    files = {
        "core/a.h": "",
        "platform/sdl/b.cpp": '#include "core/a.h"\n#include "platform/c.h"\n',
        "platform/c.h": "",
        "graphics/g.h": '#include "sound/s.h"\n',
        "sound/s.h": "",
        "widgets/w.h": '#include "graphics/g.h"\n',
        "graphics/g.cpp": '#include "g.h"\n#include "widgets/w.h"\n#include <vector>\n#include "missing.h"\n',
        "scenes/f.cpp": '#include "scenes/match/m.h"\n#include "scenes/menu/t.h"\n',
        "scenes/match/m.h": '#include "scenes/menu/t.h"\n',
        "scenes/menu/t.h": '#include "app/x.h"\n',
        "app/x.h": "",
        "main.cpp": '#include "scenes/menu/t.h"\n',
        "extra/e.h": '#include "core/a.h"\n',
    }
    with tempfile.TemporaryDirectory() as d:
        for rel, text in files.items():
            os.makedirs(os.path.dirname(os.path.join(d, rel)) or d, exist_ok=True)
            with open(os.path.join(d, rel), "w", encoding="utf-8") as f:
                f.write(text)
        got = check(d)
    expected = [
        'extra/e.h:1 #include "core/a.h": folder \'extra\' has no layer',
        'graphics/g.cpp:2 #include "widgets/w.h": graphics must not include widgets (a higher layer)',
        'graphics/g.h:1 #include "sound/s.h": graphics must not include its peer sound',
        'scenes/match/m.h:1 #include "scenes/menu/t.h": scenes/match must not include its peer scenes/menu',
        "include circle between folders: graphics <-> widgets",
    ]
    if sorted(got) != sorted(expected):
        print("self-test failed; got:")
        for p in got:
            print("  " + p)
        return 1
    print("self-test passed")
    return 0


def main(argv):
    if len(argv) == 2 and argv[1] == "--self-test":
        return self_test()
    if len(argv) != 2 or not os.path.isdir(argv[1]):
        print(__doc__)
        return 2
    problems = check(argv[1])
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} layering violation(s)")
        return 1
    print("layering holds")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

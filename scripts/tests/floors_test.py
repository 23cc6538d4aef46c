#!/usr/bin/env python3
"""The include-floor checker on small trees of its own."""

import io
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import floors  # noqa: E402

FLOORS = [["low"], ["toolkit/base"], ["toolkit/top"], ["mid", "side"], ["high"]]

# Every tree holds these headers; the cases add the files that include them.
HEADERS = ["low/L.h", "mid/M.h", "side/S.h", "high/H.h", "toolkit/base/B.h",
           "toolkit/top/T.h", "loose/X.h"]


def make_tree(root, files):
    for path in HEADERS:
        files.setdefault(path, "")
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as out:
            out.write(text)


class FloorsTest(unittest.TestCase):
    def check(self, files):
        with tempfile.TemporaryDirectory() as root:
            make_tree(root, dict(files))
            includes = floors.read_includes(root)
            wrong, unplaced = floors.wrong_way(includes, FLOORS)
            groups = floors.cycles(floors.folder_graph(includes))
            faults = floors.report(root, FLOORS, io.StringIO())
        return [(path, target, way) for path, _, target, way in wrong], unplaced, groups, faults

    def test_cases(self):
        cases = [
            ("downward includes pass",
             {"high/a.cpp": '#include "mid/M.h"\n#include "low/L.h"\n',
              "toolkit/top/t.cpp": '#include "toolkit/base/B.h"\n'},
             [], [], []),
            ("an upward include",
             {"low/a.cpp": '#include "mid/M.h"\n'},
             [("low/a.cpp", "mid/M.h", "up")], [], []),
            ("neighbours on one floor include each other not",
             {"mid/a.cpp": '#include "side/S.h"\n'},
             [("mid/a.cpp", "side/S.h", "sideways")], [], []),
            ("toolkit sub-folders are floors, and a cycle between them shows",
             {"toolkit/base/b.cpp": '#include "toolkit/top/T.h"\n',
              "toolkit/top/t.cpp": '#include "toolkit/base/B.h"\n'},
             [("toolkit/base/b.cpp", "toolkit/top/T.h", "up")], [],
             [["toolkit/base", "toolkit/top"]]),
            ("tests, benches and fuzz targets are not production",
             {"low/tests/t.cpp": '#include "high/H.h"\n',
              "bench/b.cpp": '#include "high/H.h"\n',
              "fuzz/f.cpp": '#include "high/H.h"\n'},
             [], [], []),
            ("a name beside the including file resolves there",
             {"low/sub/a.cpp": '#include "../../mid/M.h"\n'},
             [("low/sub/a.cpp", "mid/M.h", "up")], [], []),
            ("outside headers and angle includes are not the project's",
             {"low/a.cpp": '#include <high/H.h>\n#include "afxwin.h"\n'},
             [], [], []),
            ("a folder without a floor is named",
             {"low/a.h": '#include "loose/X.h"\n'},
             [], ["loose"], []),
        ]
        for name, files, wrong, unplaced, groups in cases:
            with self.subTest(name):
                got_wrong, got_unplaced, got_groups, faults = self.check(files)
                self.assertEqual(got_wrong, wrong)
                self.assertEqual(got_unplaced, unplaced)
                self.assertEqual(got_groups, groups)
                self.assertEqual(faults, len(wrong) + len(unplaced) + len(groups))

    def test_exit_code_follows_the_faults(self):
        for files, code in [({"high/a.cpp": '#include "low/L.h"\n'}, 0),
                            ({"low/a.cpp": '#include "high/H.h"\n'}, 1)]:
            with self.subTest(code=code), tempfile.TemporaryDirectory() as root:
                make_tree(root, dict(files))
                saved, floors.FLOORS = floors.FLOORS, FLOORS
                try:
                    with io.StringIO() as out:
                        stdout, sys.stdout = sys.stdout, out
                        try:
                            self.assertEqual(floors.main(["floors.py", root]), code)
                        finally:
                            sys.stdout = stdout
                finally:
                    floors.FLOORS = saved


if __name__ == "__main__":
    unittest.main()

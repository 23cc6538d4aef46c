#!/usr/bin/env python3
"""Reads ctest's JUnit results and prints the failed tests whose program never
got going: no output at all within a second, as when a Wine process ends at
its start without a word (exit 1 in 10 ms). With --others it prints the other
failed tests instead.
    start-failures.py [--others] RESULTS.xml"""
import sys
import xml.etree.ElementTree as ElementTree

START_SECONDS = 1.0


def main():
    others = sys.argv[1] == "--others"
    results = ElementTree.parse(sys.argv[-1]).getroot()
    for case in results.iter("testcase"):
        if case.get("status") != "fail":
            continue
        silent = not (case.findtext("system-out") or "").strip() and float(case.get("time", "0")) < START_SECONDS
        if silent != others:
            print(case.get("name"))


main()

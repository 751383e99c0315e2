#!/usr/bin/env python3
"""scripts/check-rooms.py on a small tree of every room: each rule reports the
include that breaks it, and the includes the rooms may make pass.
Argument: the check script."""

import os
import subprocess
import sys
import tempfile
import unittest

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                     "check-rooms.py")

HEADERS = [
    "include/hovrel.h", "src/interface/unique_handle.h", "src/http/content_length.h",
    "host/common/utf8.h", "host/authenticity/rfc3339.h", "host/road/road.h",
    "host/windows/windows_support.h", "tools/hovrel-update/update_texts.h",
    "tests/support/test_support.h",
]
# What each room may include.
ALLOWED = {
    "src/http/fetch.cpp": ["hovrel.h", "content_length.h", "interface/unique_handle.h"],
    "host/common/utf8.cpp": ["utf8.h", "hovrel.h", "interface/unique_handle.h"],
    "host/road/road.cpp": ["road.h", "utf8.h", "rfc3339.h"],
    "host/windows/steps.cpp": ["windows_support.h", "road.h", "rfc3339.h", "utf8.h"],
    "tools/hovrel-update/main.cpp": ["update_texts.h", "windows_support.h", "hovrel.h"],
    "tests/unit/test.cpp": ["http/content_length.h", "support/test_support.h", "road.h"],
    "bench/bench.cpp": ["windows_support.h", "support/test_support.h"],
}
# An offending include, and the rule or fault reported for it.
BROKEN = [
    ("tools/hovrel-updater/main.cpp", "update_texts.h", "program's folder but that program"),
    ("bench/bench.cpp", "update_texts.h", "program's folder but that program"),
    ("tests/tools/test.cpp", "update_texts.h", "program's folder but that program"),
    ("include/hovrel.h", "utf8.h", "include/ includes nothing of the project"),
    ("src/http/fetch.cpp", "utf8.h", "src/ includes only src/ and include/"),
    ("src/http/fetch.cpp", "support/test_support.h", "src/ includes only src/ and include/"),
    ("host/common/utf8.cpp", "rfc3339.h", "host/common uses nothing of the other host rooms"),
    ("host/road/road.cpp", "windows_support.h", "host/road do not use host/windows"),
    ("host/authenticity/rfc3339.cpp", "windows_support.h", "host/road do not use host/windows"),
    ("host/windows/steps.cpp", "http/content_length.h", "only the pieces hovrel_internals shares"),
    ("tools/hovrel-update/main.cpp", "content_length.h", "only the pieces hovrel_internals shares"),
    ("tools/hovrel-update/main.cpp", "support/test_support.h", "include no test code"),
    ("host/road/road.cpp", "missing.h", "names no header in the tree"),
    ("host/road/road.cpp", "version.h", "is ambiguous: host/common/version.h, src/http/version.h"),
]


def write(root, path, text=""):
    os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
    with open(os.path.join(root, path), "w", encoding="utf-8") as file:
        file.write(text)


def includes(names):
    return "".join(f'#include "{name}"\n' for name in names)


def make_tree(root):
    for header in HEADERS:
        write(root, header, "#pragma once\n")
    write(root, "src/CMakeLists.txt", "foreach(header interface/unique_handle.h)\nendforeach()\n")
    # A header in the build tree is not the tree's.
    write(root, "build/native/CMakeCache.txt")
    write(root, "build/native/internals/road.h")
    for path, names in ALLOWED.items():
        write(root, path, includes(names))


def run_check(root):
    return subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)


class CheckRoomsTest(unittest.TestCase):
    def test_what_the_rooms_may_include_passes(self):
        with tempfile.TemporaryDirectory() as root:
            make_tree(root)
            result = run_check(root)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            self.assertIn("0 violations", result.stdout)

    def test_each_broken_rule_is_reported(self):
        for path, name, reason in BROKEN:
            with self.subTest(path=path, include=name), tempfile.TemporaryDirectory() as root:
                make_tree(root)
                write(root, "host/common/version.h")
                write(root, "src/http/version.h")
                write(root, path, "// first line\n" + includes([name]))
                result = run_check(root)
                self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                violations = [line for line in result.stdout.splitlines() if ": \"" in line]
                self.assertEqual(len(violations), 1, result.stdout)
                self.assertTrue(violations[0].startswith(f'{path}:2: "{name}"'), violations[0])
                self.assertIn(reason, violations[0])


if __name__ == "__main__":
    unittest.main()

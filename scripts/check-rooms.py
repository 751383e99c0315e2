#!/usr/bin/env python3
"""Which room of the tree may include which: python3 scripts/check-rooms.py [ROOT].

Reads every quoted #include of the C and C++ sources, resource scripts and
header templates, finds the one header it names (beside the including file,
else the one header in the tree whose path ends with the name, generated
headers included), and checks it against the rules below. Prints one line
per violation and exits 1 if there is any.
"""

import os
import re
import sys

SOURCE_ENDINGS = (".c", ".cc", ".cpp", ".h", ".hpp", ".rc", ".h.in")
HEADER_ENDINGS = (".h", ".hpp")
TEST_AREAS = ("tests", "bench", "stress", "fuzz")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
# A header that a CMakeLists.txt writes into its own binary folder.
GENERATED = re.compile(r"\$\{CMAKE_CURRENT_BINARY_DIR\}/([\w./-]+\.h)\b")
# The pieces of src/ that hovrel_internals forwards to the host rooms.
SHARED_LIST = re.compile(r"foreach\(header\s+([^)]*)\)")


def room_of(path):
    parts = path.split("/")
    if parts[0] in ("include", "src") + TEST_AREAS:
        return parts[0]
    if parts[0] in ("host", "tools") and len(parts) > 2:
        return "/".join(parts[:2])
    return "elsewhere"


def is_host(room):
    return room.startswith("host/")


def is_program(room):
    return room.startswith("tools/")


def is_product(room):
    return room in ("include", "src") or is_host(room) or is_program(room)


# (rule, broken(includer's room, header's room, header is a shared piece)); the
# first rule an include breaks is the one reported.
RULES = [
    ("nothing includes a program's folder but that program",
     lambda room, target, shared: is_program(target) and target != room),
    ("include/ includes nothing of the project",
     lambda room, target, shared: room == "include" and target != "include"),
    ("src/ includes only src/ and include/: nothing of host/, tools/ or the tests",
     lambda room, target, shared: room == "src" and target not in ("src", "include")),
    ("host/common uses nothing of the other host rooms",
     lambda room, target, shared: room == "host/common" and is_host(target) and target != room),
    ("host/language uses nothing of the other host rooms",
     lambda room, target, shared: room == "host/language" and is_host(target) and target != room),
    ("host/authenticity and host/road do not use host/windows",
     lambda room, target, shared: room in ("host/authenticity", "host/road")
     and target == "host/windows"),
    ("host rooms and programs use of src/ only the pieces hovrel_internals shares",
     lambda room, target, shared: (is_host(room) or is_program(room)) and target == "src"
     and not shared),
    ("the library, the host rooms and the programs include no test code",
     lambda room, target, shared: is_product(room) and target in TEST_AREAS),
]


def tree_files(root):
    """Paths relative to ROOT, leaving out hidden folders and build trees."""
    for folder, subfolders, files in os.walk(root):
        subfolders[:] = sorted(
            name for name in subfolders
            if not name.startswith(".")
            and not os.path.exists(os.path.join(folder, name, "CMakeCache.txt")))
        for name in sorted(files):
            yield os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")


def shared_pieces(root):
    with open(os.path.join(root, "src", "CMakeLists.txt"), encoding="utf-8") as text:
        found = SHARED_LIST.search(text.read())
    if not found:
        sys.exit("check-rooms: no foreach(header ...) list of shared pieces in src/CMakeLists.txt")
    return {"src/" + name for name in found.group(1).split()}


def generated_headers(root, files):
    headers = set()
    for path in files:
        if os.path.basename(path) != "CMakeLists.txt":
            continue
        folder = os.path.dirname(path)
        with open(os.path.join(root, path), encoding="utf-8") as text:
            for name in GENERATED.findall(text.read()):
                headers.add(f"{folder}/{name}" if folder else name)
    return headers


def resolve(includer, name, headers):
    """The list of headers INCLUDER's #include "NAME" may mean."""
    beside = os.path.normpath(os.path.join(os.path.dirname(includer), name)).replace(os.sep, "/")
    if beside in headers:
        return [beside]
    return sorted(path for path in headers if path == name or path.endswith("/" + name))


def check(root):
    files = list(tree_files(root))
    headers = {path for path in files if path.endswith(HEADER_ENDINGS)}
    headers |= generated_headers(root, files)
    shared = shared_pieces(root)
    violations = 0
    includes = 0
    for path in files:
        if not path.endswith(SOURCE_ENDINGS):
            continue
        room = room_of(path)
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as text:
            lines = text.read().splitlines()
        for number, line in enumerate(lines, 1):
            found = INCLUDE.match(line)
            if not found:
                continue
            includes += 1
            name = found.group(1)
            candidates = resolve(path, name, headers)
            if len(candidates) != 1:
                what = "names no header in the tree" if not candidates else \
                    "is ambiguous: " + ", ".join(candidates)
                print(f'{path}:{number}: "{name}" {what}')
                violations += 1
                continue
            target = candidates[0]
            for rule, broken in RULES:
                if broken(room, room_of(target), target in shared):
                    print(f'{path}:{number}: "{name}" is {target} ({room_of(target)}): {rule}')
                    violations += 1
                    break
    print(f"check-rooms: {includes} includes, {violations} violations")
    return violations == 0


if __name__ == "__main__":
    default_root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    sys.exit(0 if check(os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else default_root)) else 1)

#!/usr/bin/env python3
"""Size of the tests against the code they test, in C++ tokens with comments left out.

Usage: scripts/test_ratio.py [ROOT]   (ROOT defaults to the repository holding this script)
Tests are tests/*.cpp and tests/*.h; the code is core, gfx, game, screens, app, platform and tools.
A string literal counts as one token, so line breaks and long texts change nothing.
"""
import pathlib
import re
import sys

CODE_FOLDERS = ["app", "core", "gfx", "game", "screens", "platform", "tools"]
TOKEN = re.compile(r"""
    //[^\n]*                              # line comment (dropped)
  | /\*.*?\*/                             # block comment (dropped)
  | R"(?P<delim>[^(\s]*)\(.*?\)(?P=delim)"  # raw string
  | "(?:\\.|[^"\\\n])*"                   # string
  | '(?:\\.|[^'\\\n])+'                   # character
  | [A-Za-z_]\w*                          # identifier or keyword
  | \.?\d(?:[\w.']|[eEpP][+-])*           # number
  | ::|->\*?|\.\.\.|<<=?|>>=?|<=>|[-+*/%&|^!=<>]=|&&|\|\||\+\+|--|\#\#
  | \S                                    # any other single character
""", re.S | re.X)


def count_tokens(path):
    text = path.read_text(encoding="utf-8", errors="replace")
    return sum(1 for m in TOKEN.finditer(text) if not m.group().startswith(("//", "/*")))


def count_folder(root, folder):
    files = [p for p in (root / folder).rglob("*") if p.suffix in (".cpp", ".h") and p.is_file()]
    return sum(count_tokens(p) for p in files)


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    tests = sum(count_tokens(p) for p in (root / "tests").glob("*") if p.suffix in (".cpp", ".h"))
    code = 0
    for folder in CODE_FOLDERS:
        n = count_folder(root, folder)
        print(f"{folder:10} {n:7}")
        code += n
    print(f"{'code':10} {code:7}")
    print(f"{'tests':10} {tests:7}")
    print(f"ratio      {tests / code:.2f}")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Size of the tests against the code they test, in C++ tokens and in lines, comments left out.

Usage: scripts/test_ratio.py [ROOT]   (ROOT defaults to the repository holding this script)
Tests are tests/*.cpp and tests/*.h; the code is core, gfx, game, screens, app, platform and tools.
A string literal counts as one token, so line breaks and long texts change nothing. Lines are those
holding a token. The fuzz targets and the benchmarks are counted apart. Exits 1 when the tests are
more than a third of the code either way.
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


def count(path):
    """Tokens and lines that hold one, comments left out."""
    text = path.read_text(encoding="utf-8", errors="replace")
    tokens, lines = 0, set()
    for m in TOKEN.finditer(text):
        if m.group().startswith(("//", "/*")):
            continue
        tokens += 1
        first = text.count("\n", 0, m.start())
        lines.update(range(first, first + m.group().count("\n") + 1))
    return tokens, len(lines)


def count_files(files):
    sizes = [count(p) for p in files if p.suffix in (".cpp", ".h") and p.is_file()]
    return sum(s[0] for s in sizes), sum(s[1] for s in sizes)


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    print(f"{'':10} {'tokens':>7} {'lines':>7}")
    code = [0, 0]
    for folder in CODE_FOLDERS:
        n = count_files((root / folder).rglob("*"))
        print(f"{folder:10} {n[0]:7} {n[1]:7}")
        code = [code[0] + n[0], code[1] + n[1]]
    print(f"{'code':10} {code[0]:7} {code[1]:7}")
    tests = count_files((root / "tests").glob("*"))
    print(f"{'tests':10} {tests[0]:7} {tests[1]:7}")
    ratio = [tests[0] / code[0], tests[1] / code[1]]
    print(f"{'ratio':10} {ratio[0]:7.2f} {ratio[1]:7.2f}")
    for folder in ("fuzz", "bench"):
        n = count_files((root / folder).rglob("*"))
        print(f"{folder:10} {n[0]:7} {n[1]:7}   ({n[0] / code[0]:.2f} {n[1] / code[1]:.2f}, counted apart)")
    return 0 if max(round(r, 2) for r in ratio) <= 0.33 else 1


if __name__ == "__main__":
    sys.exit(main())

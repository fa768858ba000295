#!/usr/bin/env python3
"""Applies the name table in tools/renames.txt to the C/C++ sources and resource scripts.

    tools/rename_names.py            rename in src/, tests/, bench/ and tools/
    tools/rename_names.py --check    change nothing; exit 1 when a file would change

Each table line is "OldName NewName"; '#' starts a comment. Names are replaced as whole
identifiers, outside string and character literals (the program's own texts never change; comments
do, so they keep naming the right function). All pairs apply in one pass, and no new name may also be
an old one, so a second run finds nothing to do. A line marked "rename_names: drop" (a stand-in that
keeps an old name compiling until the renames run) is deleted.

The table outlives the tree it was written against: other work moves and splits files, so the
script says which old names it no longer finds anywhere, and whether their new names are there.
"""
import argparse
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TABLE = os.path.join(ROOT, "tools", "renames.txt")
FOLDERS = ("src", "tests", "bench", "tools")
EXTENSIONS = (".c", ".cc", ".cpp", ".cxx", ".h", ".hh", ".hpp", ".inl", ".rc")
IDENT = re.compile(r"[A-Za-z_][A-Za-z0-9_]*\Z")
DROP = re.compile(r"^[^\n]*rename_names: drop[^\n]*(?:\n|\Z)", re.M)


def read_table(path):
    pairs = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            words = line.split()
            if len(words) != 2 or not all(IDENT.match(w) for w in words):
                sys.exit("%s:%d: expected 'OldName NewName', got %r" % (path, number, line))
            old, new = words
            if old == new or old in pairs:
                sys.exit("%s:%d: %s is listed twice or renamed to itself" % (path, number, old))
            pairs[old] = new
    chained = sorted(n for n in pairs.values() if n in pairs)
    if chained:
        # A new name that is also an old one would change again on the next run.
        sys.exit("%s: new names that are also old names: %s" % (path, ", ".join(chained)))
    return pairs


def source_files(root):
    for folder in FOLDERS:
        top = os.path.join(root, folder)
        for base, dirs, files in os.walk(top):
            dirs.sort()
            for name in sorted(files):
                if name.endswith(EXTENSIONS):
                    yield os.path.join(base, name)


# Code runs up to the next literal or comment; literals are kept as they are, comments and code are
# renamed. Raw strings first, so their quotes do not read as ordinary ones.
TOKEN = re.compile(
    r'(?P<raw>\bu8?R"(?P<d>[^()\\\s]{0,16})\(.*?\)(?P=d)"|\b[LUu]?R"(?P<d2>[^()\\\s]{0,16})\(.*?\)(?P=d2)")'
    r'|(?P<str>"(?:[^"\\\n]|\\.)*")'
    r"|(?P<chr>'(?:[^'\\\n]|\\.)*')"
    r"|(?P<line>//[^\n]*)"
    r"|(?P<block>/\*.*?\*/)",
    re.S,
)


def rename_text(text, word, pairs, counts):
    def swap(m):
        old = m.group(0)
        counts[old] = counts.get(old, 0) + 1
        return pairs[old]

    out = []
    pos = 0
    for m in TOKEN.finditer(text):
        out.append(word.sub(swap, text[pos:m.start()]))
        if m.group("line") or m.group("block"):
            out.append(word.sub(swap, m.group(0)))
        else:
            out.append(m.group(0))
        pos = m.end()
    out.append(word.sub(swap, text[pos:]))
    return "".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--check", action="store_true", help="change nothing; exit 1 when a file would change")
    parser.add_argument("--table", default=TABLE)
    parser.add_argument("--root", default=ROOT)
    args = parser.parse_args()

    pairs = read_table(args.table)
    if not pairs:
        return 0
    names = sorted(pairs, key=len, reverse=True)
    word = re.compile(r"(?<![A-Za-z0-9_])(?:%s)(?![A-Za-z0-9_])" % "|".join(map(re.escape, names)))
    new_word = re.compile(
        r"(?<![A-Za-z0-9_])(?:%s)(?![A-Za-z0-9_])"
        % "|".join(map(re.escape, sorted(set(pairs.values()), key=len, reverse=True)))
    )

    counts = {}
    present_new = set()
    changed = []
    for path in source_files(args.root):
        with open(path, "rb") as f:
            data = f.read()
        # Latin-1 maps every byte to one character, so any encoding comes back byte for byte.
        text = data.decode("latin-1")
        kept = DROP.sub("", text)
        if kept != text:
            counts["(dropped lines)"] = counts.get("(dropped lines)", 0) + len(DROP.findall(text))
        result = rename_text(kept, word, pairs, counts)
        present_new.update(new_word.findall(result))
        if result != text:
            changed.append(os.path.relpath(path, args.root))
            if not args.check:
                with open(path, "wb") as f:
                    f.write(result.encode("latin-1"))

    for old in sorted(counts):
        print("renamed %-32s -> %-32s %4d" % (old, pairs.get(old, "(deleted)"), counts[old]))
    for old in sorted(o for o in pairs if o not in counts):
        state = "already renamed" if pairs[old] in present_new else "NEW NAME ABSENT TOO: gone or moved away"
        print("not found %-29s (%s -> %s: %s)" % (old, old, pairs[old], state))
    verb = "would change" if args.check else "changed"
    print("%s %d file(s)" % (verb, len(changed)))
    for path in changed:
        print("  " + path)
    return 1 if args.check and changed else 0


if __name__ == "__main__":
    sys.exit(main())

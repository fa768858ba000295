#!/usr/bin/env python3
"""tools/check_layers.py on small trees made here: each case's faults, and a clean tree passing."""
import os
import subprocess
import sys
import tempfile

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "check_layers.py")

LAYERS = """low    src/low/
mid    src/mid/
mid    src/mid2/
mid    src/low/up_
top    src/top/
"""

# name, files, allowed list, expected exit code, lines the output must hold
CASES = [
    ("clean", {"src/mid/a.cpp": '#include "low/b.h"\n#include "a.h"\n', "src/mid/a.h": "", "src/low/b.h": ""},
     "", 0, ["layer check: ok"]),
    ("upward", {"src/low/a.cpp": '#include "top/t.h"\n', "src/top/t.h": ""},
     "", 1, ["src/low/a.cpp -> src/top/t.h: low includes top"]),
    ("relative to the file first", {"src/low/a.cpp": '#include "top/t.h"\n', "src/low/top/t.h": "", "src/top/t.h": ""},
     "", 0, ["layer check: ok"]),
    ("longest prefix wins", {"src/low/up_x.cpp": '#include "mid/m.h"\n', "src/mid/m.h": ""},
     "", 0, ["layer check: ok"]),
    ("header cycle", {"src/low/a.h": '#include "low/b.h"\n', "src/low/b.h": '#include "low/a.h"\n'},
     "", 1, ["header cycle: src/low/a.h -> src/low/b.h -> src/low/a.h"]),
    ("unit cycle between same-layer subsystems",
     {"src/mid/a.cpp": '#include "mid2/b.h"\n', "src/mid2/b.h": "",
      "src/mid2/c.cpp": '#include "mid/d.h"\n', "src/mid/d.h": ""},
     "", 1, ["unit cycle: mid/mid -> mid2/mid -> mid/mid"]),
    ("allowed upward include is a note",
     {"src/low/a.cpp": '#include "top/t.h"\n', "src/top/t.h": ""},
     "src/low/a.cpp -> src/top/t.h  # waiting for the split\n", 0,
     ["note: src/low/a.cpp -> src/top/t.h: low includes top (allowed: waiting for the split)"]),
    ("stale allowance is a note",
     {"src/low/a.cpp": ""}, "src/low/a.cpp -> src/top/t.h  # gone\n", 0,
     ["note: src/low/a.cpp -> src/top/t.h is allowed but no longer needed"]),
    ("file outside every layer", {"src/other/a.cpp": ""}, "", 1, ["src/other/a.cpp: no layer in tools/layers.txt"]),
]


def run(files, allowed):
    with tempfile.TemporaryDirectory() as root:
        os.makedirs(os.path.join(root, "tools"))
        with open(os.path.join(root, "tools", "layers.txt"), "w") as f:
            f.write(LAYERS)
        if allowed:
            with open(os.path.join(root, "tools", "layers_allow.txt"), "w") as f:
                f.write(allowed)
        for name, text in files.items():
            path = os.path.join(root, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w") as f:
                f.write(text)
        p = subprocess.run([sys.executable, SCRIPT, root], capture_output=True, text=True)
        return p.returncode, p.stdout


def main():
    failed = 0
    for name, files, allowed, code, lines in CASES:
        rc, out = run(files, allowed)
        missing = [l for l in lines if l not in out.splitlines() and not any(o.startswith(l) for o in out.splitlines())]
        if rc != code or missing:
            failed += 1
            print("FAIL %s: exit %d (want %d), missing %s\n%s" % (name, rc, code, missing, out))
    print("%d of %d cases failed" % (failed, len(CASES)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

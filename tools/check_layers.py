#!/usr/bin/env python3
"""Checks the include structure of src/ against tools/layers.txt.

Fails (exit 1), one line per fault, on:
  - an include of a header from a higher layer;
  - an include cycle between header files;
  - a cycle between layer units (a subsystem folder and a layer, e.g. effect/engine).
Faults listed in tools/layers_allow.txt ("file -> header  # reason") are printed as notes.
Usage: tools/check_layers.py [repository root]
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def read_layers(path):
    order, rows = [], []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            layer, prefix = line.split()
            if layer not in order:
                order.append(layer)
            rows.append((prefix, layer))
    # Longest prefix first, so the first match is the longest.
    rows.sort(key=lambda r: -len(r[0]))
    return order, rows


def read_allowed(path):
    allowed = {}
    if not os.path.exists(path):
        return allowed
    with open(path, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            text, _, reason = line.partition("#")
            text = text.strip()
            if not text:
                continue
            if "->" not in text or not reason.strip():
                sys.exit("%s:%d: expected 'file -> header  # reason'" % (path, n))
            a, b = (s.strip() for s in text.split("->", 1))
            allowed[(a, b)] = reason.strip()
    return allowed


def layer_of(path, rows):
    for prefix, layer in rows:
        if path.startswith(prefix):
            return layer
    return None


def unit_of(path, layer):
    parts = path.split("/")
    return "%s/%s" % (parts[1] if len(parts) > 2 else "", layer)


def scan(root):
    """Every file under src/ with the src-relative-to-root paths of the headers it includes."""
    graph, missing = {}, []
    src = os.path.join(root, "src")
    for folder, _, names in os.walk(src):
        for name in sorted(names):
            if not name.endswith((".h", ".cpp", ".c", ".rc", ".inl")):
                continue
            full = os.path.join(folder, name)
            rel = os.path.relpath(full, root).replace(os.sep, "/")
            with open(full, encoding="utf-8", errors="replace") as f:
                text = f.read()
            deps = []
            for inc in INCLUDE.findall(text):
                found = None
                for base in (folder, src):
                    cand = os.path.normpath(os.path.join(base, inc))
                    if os.path.isfile(cand):
                        found = os.path.relpath(cand, root).replace(os.sep, "/")
                        break
                if found:
                    deps.append(found)
                else:
                    missing.append((rel, inc))
            graph[rel] = deps
    return graph, missing


def cycles(graph):
    """One representative cycle per strongly connected component (Tarjan), as a list of nodes."""
    index, low, on, stack, out = {}, {}, set(), [], []
    counter = [0]

    def strong(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on.add(v)
        for w in graph.get(v, ()):
            if w not in index:
                strong(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            comp = []
            while True:
                w = stack.pop()
                on.discard(w)
                comp.append(w)
                if w == v:
                    break
            if len(comp) > 1 or v in graph.get(v, ()):
                out.append(sorted(comp))

    sys.setrecursionlimit(10000)
    for v in sorted(graph):
        if v not in index:
            strong(v)
    return out


def path_within(graph, comp):
    """A concrete cycle through the component's first node, for the message."""
    members = set(comp)
    start = comp[0]
    prev = {start: None}
    queue = [start]
    while queue:
        v = queue.pop(0)
        for w in sorted(graph.get(v, ())):
            if w == start:
                chain = [v]
                while prev[chain[-1]] is not None:
                    chain.append(prev[chain[-1]])
                return list(reversed(chain)) + [start]
            if w in members and w not in prev:
                prev[w] = v
                queue.append(w)
    return comp


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    order, rows = read_layers(os.path.join(root, "tools", "layers.txt"))
    allowed = read_allowed(os.path.join(root, "tools", "layers_allow.txt"))
    rank = {name: i for i, name in enumerate(order)}
    graph, _ = scan(root)  # includes not found under src/ are system or generated headers
    faults, notes, used = [], [], set()

    def report(file, header, text):
        key = (file, header)
        if key in allowed:
            used.add(key)
            notes.append("note: %s (allowed: %s)" % (text, allowed[key]))
        else:
            faults.append(text)

    for file in sorted(graph):
        lf = layer_of(file, rows)
        if lf is None:
            faults.append("%s: no layer in tools/layers.txt" % file)
            continue
        for header in graph[file]:
            lh = layer_of(header, rows)
            if lh is not None and rank[lh] > rank[lf]:
                report(file, header, "%s -> %s: %s includes %s" % (file, header, lf, lh))

    headers = {f: [d for d in deps if not d.endswith((".cpp", ".c"))]
               for f, deps in graph.items() if not f.endswith((".cpp", ".c", ".rc"))}
    for comp in cycles(headers):
        chain = path_within(headers, comp)
        text = "header cycle: " + " -> ".join(chain)
        keys = [(chain[i], chain[i + 1]) for i in range(len(chain) - 1)]
        if any(k in allowed for k in keys):
            used.update(k for k in keys if k in allowed)
            notes.append("note: %s (allowed)" % text)
        else:
            faults.append(text)

    # Layer units: an edge for every include between two different units, remembering one file pair.
    units, witness = {}, {}
    for file, deps in graph.items():
        lf = layer_of(file, rows)
        if lf is None:
            continue
        uf = unit_of(file, lf)
        for header in deps:
            lh = layer_of(header, rows)
            if lh is None:
                continue
            uh = unit_of(header, lh)
            if uh == uf:
                continue
            units.setdefault(uf, set()).add(uh)
            witness.setdefault((uf, uh), []).append((file, header))
    for comp in cycles(units):
        chain = path_within(units, comp)
        edges = [(chain[i], chain[i + 1]) for i in range(len(chain) - 1)]
        pairs = [p for e in edges for p in witness[e]]
        via = "; ".join("%s -> %s" % witness[e][0] for e in edges)
        text = "unit cycle: %s (via %s)" % (" -> ".join(chain), via)
        # Allowed only when every include on some edge of the cycle is allowed: then that edge goes.
        if any(all(p in allowed for p in witness[e]) for e in edges):
            used.update(p for p in pairs if p in allowed)
            notes.append("note: %s (allowed)" % text)
        else:
            faults.append(text)

    for key in sorted(set(allowed) - used):
        notes.append("note: %s -> %s is allowed but no longer needed" % key)
    for line in notes:
        print(line)
    for line in faults:
        print(line)
    if faults:
        print("layer check: %d fault(s)" % len(faults))
        return 1
    print("layer check: ok (%d files, %d allowed)" % (len(graph), len(used)))
    return 0


if __name__ == "__main__":
    sys.exit(main())

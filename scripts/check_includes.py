#!/usr/bin/env python3
"""Checks the project's includes against its layers.

Fails when a file includes one that its layer may not use, when a private header (X_p.h) is
included from outside its folder or by a public header (which would hand it on), or when files of platform/ or framework/ include each other
in a circle of any length. A header and its source (X.h, X_p.h, X.cpp) count as one node of
the circle check, so A.cpp including B.h while B.cpp includes A.h is a circle.

Usage: check_includes.py [source root]
"""

import os
import re
import subprocess
import sys

PROGRAMS = ["deleted_items", "invoice_lines", "sales_by_dish"]
PLATFORM = ["runtime", "data", "forms", "reports"]

# What each layer may include besides itself; the libraries' links in CMake say the same.
ALLOWED = {
    "runtime": set(),
    "data": {"runtime"},
    "forms": {"runtime"},
    "reports": {"runtime", "data"},
    "framework": set(PLATFORM),
}
for program in PROGRAMS:
    ALLOWED[program] = set(PLATFORM) | {"framework"}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)


def layer_of(path):
    parts = path.split("/")
    if parts[0] == "platform" and len(parts) > 2 and parts[1] in PLATFORM:
        return parts[1]
    if parts[0] in ALLOWED and len(parts) > 1:
        return parts[0]
    return None


def node_of(path):
    stem = os.path.splitext(path)[0]
    return stem[:-2] if stem.endswith("_p") else stem


def source_files(root):
    try:
        listed = subprocess.run(
            ["git", "-C", root, "ls-files", "--cached", "--others", "--exclude-standard", "--", "*.h", "*.cpp"],
            check=True, capture_output=True, text=True).stdout.split("\n")
        files = [f for f in listed if f]
    except (OSError, subprocess.CalledProcessError):
        files = []
        for folder, _, names in os.walk(root):
            rel = os.path.relpath(folder, root)
            if rel.split(os.sep)[0].startswith("build"):
                continue
            files += [os.path.normpath(os.path.join(rel, n)).replace(os.sep, "/")
                      for n in names if n.endswith((".h", ".cpp"))]
    return sorted(f for f in files if os.path.isfile(os.path.join(root, f)))


def resolve(root, includer, name, known):
    """The project file an include names: beside the includer first, then under the include roots."""
    for base in (os.path.dirname(includer), "platform", ""):
        candidate = os.path.normpath(os.path.join(base, name)).replace(os.sep, "/")
        if candidate in known:
            return candidate
    return None


def circles(graph):
    """Strongly connected components of more than one node (Tarjan), each sorted."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []

    def visit(start):
        work = [(start, iter(sorted(graph.get(start, ()))))]
        index[start] = low[start] = len(index)
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            child = next(children, None)
            if child is not None:
                if child not in index:
                    index[child] = low[child] = len(index)
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph.get(child, ())))))
                elif child in on_stack:
                    low[node] = min(low[node], index[child])
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    found.append(sorted(component))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return found


def cycle_through(graph, component):
    """One circle through the component's first node, as the list of nodes along it."""
    start, members = component[0], set(component)
    came_from, queue = {}, [start]
    while queue:
        node = queue.pop(0)
        for child in sorted(graph[node] & members):
            if child == start:
                path = [node]
                while path[-1] != start:
                    path.append(came_from[path[-1]])
                return path[::-1] + [start]
            if child not in came_from:
                came_from[child] = node
                queue.append(child)
    return component


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    files = source_files(root)
    known = set(files)
    problems = []
    graph = {}
    for path in files:
        with open(os.path.join(root, path), encoding="utf-8") as source:
            text = source.read()
        layer = layer_of(path)
        for name in INCLUDE.findall(text):
            target = resolve(root, path, name, known)
            if target is None:
                continue
            if target.endswith("_p.h"):
                if os.path.dirname(target) != os.path.dirname(path):
                    problems.append(f"{path}: includes {target}, private to {os.path.dirname(target)}/")
                elif path.endswith(".h") and not path.endswith("_p.h"):
                    problems.append(f"{path}: a public header includes the private {target}")
            target_layer = layer_of(target)
            if layer is not None and target_layer != layer and target_layer not in ALLOWED[layer]:
                problems.append(f"{path}: includes {target} ({layer} may not use {target_layer or target.split('/')[0]})")
            in_circle_scope = path.startswith(("platform/", "framework/"))
            if in_circle_scope and target.startswith(("platform/", "framework/")) and node_of(target) != node_of(path):
                graph.setdefault(node_of(path), set()).add(node_of(target))

    for component in circles(graph):
        circle = cycle_through(graph, component)
        others = sorted(set(component) - set(circle))
        problems.append("include circle: " + " -> ".join(circle) + (f" (with {', '.join(others)})" if others else ""))

    for problem in problems:
        print(problem)
    print(f"{len(files)} files checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

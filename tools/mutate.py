#!/usr/bin/env python3
"""Mutation check of the test suite.

Copies the work tree (without build folders) to a scratch folder, builds it
once, then for a reproducible sample of small changes to the product code (a
comparison flipped, an off-by-one, && for ||, true for false, a constant
changed) rebuilds and runs CTest. A change that no test notices "survives"; one that does not build is left out of the count.

    tools/mutate.py [--count N] [--seed S] [--scratch DIR] [--ctest-args ARGS] [--list] [--sample-from DIR]

--sample-from DIR draws the sample from another tree (an older checkout) and
applies each change where its line now stands in this one, so that the same
changes can be tried before and after a change to the tests; a line that is no
longer there is reported as gone.

Prints one line per mutant and the share caught at the end.
"""
import argparse
import os
import random
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PRODUCT = ["iff", "decode", "encode", "output", "app", "cli", "imageformats", "pixbuf"]

# (pattern, replacement) pairs, applied to one occurrence in one line.
OPERATORS = [
    (r"(?<![<>=!])<(?![<=])", "<="),
    (r"<=", "<"),
    (r"(?<![<>=!-])>(?![>=])", ">="),
    (r">=", ">"),
    (r"==", "!="),
    (r"!=", "=="),
    (r"&&", "||"),
    (r"\|\|", "&&"),
    (r"\btrue\b", "false"),
    (r"\bfalse\b", "true"),
    (r"\+ 1\b", "+ 2"),
    (r"- 1\b", "- 2"),
    (r"\b([2-9]|1[0-9])\b", None),  # constant: n -> n + 1
]

SKIP_LINE = re.compile(r"^\s*(#|//|\*|/\*)|static_assert|template\s*<|std::vector<|std::array<|"
                       r"std::(unique_ptr|shared_ptr|function|optional|pair|map|span|string_view)<|"
                       r"->|<<|>>|#include|operator")


def candidates(root=ROOT):
    out = []
    for folder in PRODUCT:
        for base, _, files in os.walk(os.path.join(root, folder)):
            if "resources" in base:
                continue
            for name in sorted(files):
                if not name.endswith(".cpp"):
                    continue
                path = os.path.join(base, name)
                rel = os.path.relpath(path, root)
                with open(path, encoding="utf-8", errors="replace") as f:
                    lines = f.read().split("\n")
                for number, line in enumerate(lines):
                    if SKIP_LINE.search(line) or '"' in line:
                        continue
                    for pattern, repl in OPERATORS:
                        for m in re.finditer(pattern, line):
                            new = repl if repl is not None else str(int(m.group(0)) + 1)
                            mutated = line[:m.start()] + new + line[m.end():]
                            out.append((rel, number, line, mutated))
    return out


def run(cmd, cwd, timeout=None):
    return subprocess.run(cmd, cwd=cwd, shell=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          timeout=timeout, text=True)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--count", type=int, default=40)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--scratch", default="/tmp/planora-mutate")
    ap.add_argument("--ctest-args", default="")
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--sample-from", default=None)
    args = ap.parse_args()

    every = candidates(os.path.abspath(args.sample_from) if args.sample_from else ROOT)
    sample = random.Random(args.seed).sample(every, min(args.count, len(every)))
    if args.list:
        for rel, number, _, mutated in sample:
            print(f"{rel}:{number + 1}: {mutated.strip()}")
        return 0

    src = os.path.join(args.scratch, "src")
    build = os.path.join(args.scratch, "build")
    if os.path.exists(src):
        shutil.rmtree(src)
    # Build folders and the repository itself stay behind; only those at the top.
    top_level = lambda folder, names: [n for n in names if folder == ROOT and (n.startswith("build") or n == ".git")]
    shutil.copytree(ROOT, src, ignore=top_level)
    os.makedirs(build, exist_ok=True)
    conf = run(f"cmake -S {src} -B {build} -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLANORA_BUILD_BENCH=OFF "
               f"-DPLANORA_CHECKED_ACCESS=ON -DCMAKE_CXX_COMPILER_LAUNCHER=ccache", ROOT)
    if conf.returncode != 0 or run(f"cmake --build {build} -j2", ROOT).returncode != 0:
        print("the unchanged tree does not build", file=sys.stderr)
        return 2
    if run(f"ctest --test-dir {build} -j2 {args.ctest_args}", ROOT, 900).returncode != 0:
        print("the unchanged tree fails its tests", file=sys.stderr)
        return 2

    caught = tried = 0
    for rel, number, line, mutated in sample:
        path = os.path.join(src, rel)
        if not os.path.exists(path):
            print(f"{'gone':24} {rel}:{number + 1}: {mutated.strip()}", flush=True)
            continue
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
        if number >= len(lines) or lines[number] != line:
            if line not in lines:
                print(f"{'gone':24} {rel}:{number + 1}: {mutated.strip()}", flush=True)
                continue
            number = lines.index(line)
        lines[number] = mutated
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        verdict = "invalid (does not build)"
        if run(f"cmake --build {build} -j2", ROOT).returncode == 0:
            try:
                tests = run(f"ctest --test-dir {build} -j2 {args.ctest_args}", ROOT, 300)
                verdict = "caught" if tests.returncode != 0 else "SURVIVED"
            except subprocess.TimeoutExpired:
                verdict = "caught (time-out)"
        lines[number] = line
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        if not verdict.startswith("invalid"):
            tried += 1
            caught += verdict != "SURVIVED"
        print(f"{verdict:24} {rel}:{number + 1}: {mutated.strip()}", flush=True)
    run(f"cmake --build {build} -j2", ROOT)
    print(f"{caught} of {tried} caught ({len(sample) - tried} did not build)")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Mutation testing: seeds one fault at a time into the program's sources, rebuilds, runs the
quick suite and reports which faults the suite caught (killed) and which it missed (survived).

usage: scripts/mutate.py [--sample N] [--seed S] [--timeout SECONDS] [--copy DIR]
                         [--list] [--only FILE:LINE[:NAME]] [--jobs J] [--until HH:MM]

Faults are seeded into app/ settings/ engine/ radio/ ui/ framework/ only: operator swaps
(== and !=, < and >=, && and ||, + and -), negated conditions, dropped calls (a statement
that is a lone call), and changed constants (N to N+1, 0 to 1). Each mutant is applied to a
private copy of the source tree (never the working tree), built incrementally in that copy's
build directory, and judged by `ctest --stop-on-failure` with a timeout: a build error counts
as "stillborn", a failing or hanging suite as "killed". The copy is made once from HEAD.

Exit status: 0 when every mutant was judged, 1 on a usage error or a broken unmutated build.
"""
import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import time

AREAS = ("app", "settings", "engine", "radio", "ui", "framework")

# (name, pattern, replacement): each match on a line is one mutant.
OPERATORS = [
    ("== to !=", re.compile(r"(?<![=!<>])==(?!=)"), "!="),
    ("!= to ==", re.compile(r"!=(?!=)"), "=="),
    ("< to >=", re.compile(r"(?<![<\-])<(?![<=])(?=\s)"), ">="),
    ("> to <=", re.compile(r"(?<![>\-])>(?![>=])(?=\s)"), "<="),
    ("<= to <", re.compile(r"(?<!<)<=(?!>)"), "<"),
    (">= to >", re.compile(r"(?<!>)>=(?!>)"), ">"),
    ("&& to ||", re.compile(r"&&"), "||"),
    ("|| to &&", re.compile(r"\|\|"), "&&"),
    ("+ to -", re.compile(r"(?<=\s)\+(?=\s)"), "-"),
    ("- to +", re.compile(r"(?<=\s)-(?=\s)"), "+"),
    ("constant +1", re.compile(r"(?<![\w.])([1-9][0-9]{0,5})(?![\w.])"), None),
    ("0 to 1", re.compile(r"(?<![\w.])0(?![\w.x])"), "1"),
    ("true to false", re.compile(r"\btrue\b"), "false"),
    ("TRUE to FALSE", re.compile(r"\bTRUE\b"), "FALSE"),
]
IF_CONDITION = re.compile(r"^(\s*(?:\}\s*else\s+)?if\s*\()(.*)(\)\s*\{?\s*)$")
LONE_CALL = re.compile(r"^\s*(?:::)?[A-Za-z_][\w:]*(?:\.|->)?[\w:]*\s*\(.*\);\s*$")
SKIP_LINE = re.compile(r"^\s*(#|//|\*|/\*)|static_assert|DECLARE_|BEGIN_MESSAGE_MAP|END_MESSAGE_MAP")


def sources(root):
    for area in AREAS:
        for dirpath, _, files in os.walk(os.path.join(root, area)):
            for f in sorted(files):
                if f.endswith(".cpp"):
                    yield os.path.relpath(os.path.join(dirpath, f), root)


def strip_strings(line):
    """The line with string and character literals blanked, so operators inside them are not
    taken for code."""
    return re.sub(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'', lambda m: " " * len(m.group(0)), line)


def mutants_of(path, text):
    out = []
    in_block_comment = False
    for number, line in enumerate(text.splitlines(), start=1):
        stripped = line.strip()
        if in_block_comment:
            if "*/" in stripped:
                in_block_comment = False
            continue
        if stripped.startswith("/*") and "*/" not in stripped:
            in_block_comment = True
            continue
        if not stripped or SKIP_LINE.search(line):
            continue
        code = strip_strings(line.split("//")[0])
        for name, pattern, replacement in OPERATORS:
            for m in pattern.finditer(code):
                if name == "constant +1":
                    new = str(int(m.group(1)) + 1)
                    mutated = line[: m.start(1)] + new + line[m.end(1):]
                else:
                    mutated = line[: m.start()] + replacement + line[m.end():]
                out.append((path, number, name, line, mutated))
        cond = IF_CONDITION.match(line)
        if cond and "//" not in cond.group(2):
            out.append((path, number, "negate condition", line,
                        cond.group(1) + "!(" + cond.group(2) + ")" + cond.group(3)))
        if LONE_CALL.match(code) and not stripped.startswith(("return", "delete", "case")):
            indent = line[: len(line) - len(line.lstrip())]
            out.append((path, number, "drop call", line, indent + "(void)0; // dropped"))
    return out


def run(cmd, cwd, timeout=None, env=None):
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           timeout=timeout, env=env, text=True, errors="replace")
        return p.returncode, p.stdout
    except subprocess.TimeoutExpired as e:
        return None, (e.stdout or "") if isinstance(e.stdout, str) else ""


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--sample", type=int, default=60, help="mutants to try (default 60)")
    ap.add_argument("--seed", type=int, default=11, help="sample seed (default 11)")
    ap.add_argument("--timeout", type=int, default=600, help="seconds per suite run")
    ap.add_argument("--copy", default="", help="private source copy (default build/mutate; "
                    "under the repository so the shared compiler cache serves it)")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--list", action="store_true", help="list the sample and exit")
    ap.add_argument("--until", default="", help="HH:MM (UTC): start no mutant after this")
    ap.add_argument("--only", action="append", default=[], help="FILE:LINE[:NAME] to try")
    args = ap.parse_args()

    repo = subprocess.run(["git", "rev-parse", "--show-toplevel"], stdout=subprocess.PIPE,
                          text=True).stdout.strip()
    if not repo:
        print("mutate.py: run inside the repository", file=sys.stderr)
        return 1
    everything = []
    for path in sources(repo):
        with open(os.path.join(repo, path), encoding="utf-8") as f:
            everything.extend(mutants_of(path, f.read()))
    if args.only:
        wanted = [o.split(":", 2) for o in args.only]
        sample = [m for m in everything
                  if any(m[0] == w[0] and str(m[1]) == w[1] and (len(w) < 3 or m[2] == w[2])
                         for w in wanted)]
    else:
        random.Random(args.seed).shuffle(everything)
        sample = everything[: args.sample]
    print(f"{len(everything)} possible mutants in {', '.join(AREAS)}; trying {len(sample)}",
          flush=True)
    if args.list:
        for path, number, name, _, mutated in sample:
            print(f"{path}:{number}: {name}: {mutated.strip()}")
        return 0

    # A private copy of HEAD: the working tree is never touched.
    copy = args.copy or os.path.join(repo, "build", "mutate")
    if os.path.isdir(copy):
        shutil.rmtree(copy)
    os.makedirs(copy)
    archive = subprocess.Popen(["git", "archive", "HEAD"], cwd=repo, stdout=subprocess.PIPE)
    subprocess.run(["tar", "-x", "-C", copy], stdin=archive.stdout, check=True)
    archive.wait()
    build = os.path.join(copy, "build", "sim")
    env = dict(os.environ)
    code, out = run(["cmake", "--preset", "sim", "-DKIPO_BUILD_BENCH=OFF"], copy, env=env)
    if code != 0:
        print(out[-3000:], file=sys.stderr)
        return 1
    code, out = run(["cmake", "--build", build, "-j", str(args.jobs)], copy, env=env)
    if code != 0:
        print(out[-3000:], file=sys.stderr)
        print("mutate.py: the unmutated copy does not build", file=sys.stderr)
        return 1

    killed, survived, stillborn = [], [], []
    deadline = None
    if args.until:
        hours, minutes = (int(x) for x in args.until.split(":"))
        now = time.gmtime()
        deadline = time.time() + ((hours * 60 + minutes) - (now.tm_hour * 60 + now.tm_min)) * 60 \
            - now.tm_sec
    for i, (path, number, name, original, mutated) in enumerate(sample, start=1):
        if deadline is not None and time.time() >= deadline:
            print(f"stopped at {args.until} UTC after {i - 1} of {len(sample)} mutants", flush=True)
            break
        full = os.path.join(copy, path)
        with open(full, encoding="utf-8") as f:
            lines = f.read().split("\n")
        saved = list(lines)
        lines[number - 1] = mutated
        with open(full, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        started = time.time()
        label = f"{path}:{number}: {name}: {mutated.strip()}"
        try:
            code, out = run(["cmake", "--build", build, "-j", str(args.jobs)], copy, env=env)
            if code != 0:
                stillborn.append(label)
                verdict = "stillborn (does not build)"
            else:
                code, out = run(["ctest", "--test-dir", build, "-j", str(args.jobs),
                                 "--stop-on-failure", "--timeout", "120"], copy,
                                timeout=args.timeout, env=env)
                if code == 0:
                    survived.append(label)
                    verdict = "SURVIVED"
                else:
                    # ctest's closing list also names skipped tests; the first failed one
                    # is the one that caught the mutant.
                    failed = re.findall(r"\d+ - (\S+) \((?!Skipped)", out or "")
                    killed.append(label)
                    verdict = "killed" + (f" by {failed[0]}" if failed else " (timeout)")
        finally:
            with open(full, "w", encoding="utf-8") as f:
                f.write("\n".join(saved))
        print(f"[{i}/{len(sample)}] {verdict} in {time.time() - started:.0f}s  {label}",
              flush=True)

    judged = len(killed) + len(survived)
    print(f"\nkilled {len(killed)}, survived {len(survived)}, stillborn {len(stillborn)}"
          + (f"; {100.0 * len(killed) / judged:.1f}% of the {judged} that built" if judged else ""))
    for s in survived:
        print("  survived: " + s)
    return 0


if __name__ == "__main__":
    sys.exit(main())

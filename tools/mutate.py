#!/usr/bin/env python3
"""Mutation testing of the core: how many small faults does the suite notice?

Each mutant is one small change on one line of a core source file (a
relational or arithmetic operator swapped, a condition negated, a constant off
by one, true for false, a call statement dropped, case folding dropped). The
file is changed in place inside the worktree, built in build-mutate/ and run
against the tests; the original bytes go back whatever happens (normal end,
Ctrl+C, SIGTERM; after a SIGKILL the next run puts the saved copy back first).

A mutant is
  killed      when a test fails or runs into the time limit,
  survived    when every test passes,
  not built   when it does not compile,
  same code   when its object file is byte for byte the original's: no test
              can tell it apart, so it counts in neither direction.

Cost is kept low: the mutated object is compiled alone first (a compile error
or unchanged machine code ends it there), then core_tests is linked and run
with fail-fast, and only a survivor of that is linked into everything else and
run with the rest of the suite (ctest -j2 --stop-on-failure).

Usage: tools/mutate.py [--sample N] [--timeout S] [--seed K] [FILE...]
FILE defaults to every .cpp under src/core. --sample N takes N mutants per
file at random (reproducibly for one seed). Results are also appended to
build-mutate/mutate-results.jsonl.
"""

import argparse
import filecmp
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = ROOT / "build-mutate"
BACKUP = BUILD / "mutate-backup"
RESULTS = BUILD / "mutate-results.jsonl"

# ---------------------------------------------------------------- mutants

def blank_literals(line):
    """The line with the insides of string and character literals replaced
    by spaces, so operators in texts are never mutated; same length."""
    out = []
    i = 0
    quote = None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\" and i + 1 < len(line):
                out.append("  ")
                i += 2
                continue
            if c == quote:
                quote = None
                out.append(c)
            else:
                out.append(" ")
        else:
            if c in "\"'":
                # A digit separator (1'000) is no character literal.
                if c == "'" and i > 0 and line[i - 1].isalnum() and i + 1 < len(line) and line[i + 1].isalnum():
                    out.append(c)
                    i += 1
                    continue
                quote = c
            elif c == "/" and line[i:i + 2] == "//":
                out.append(" " * (len(line) - i))
                break
            out.append(c)
        i += 1
    return "".join(out)


def code_lines(text):
    """(line number, line, line with literals blanked) of the lines worth
    mutating: no comments, preprocessor lines, asserts or raw strings."""
    in_block = False
    in_raw = False
    for number, line in enumerate(text.split("\n"), 1):
        stripped = line.strip()
        if in_raw:
            if ')"' in line:
                in_raw = False
            continue
        if in_block:
            if "*/" in line:
                in_block = False
            continue
        if stripped.startswith("/*"):
            in_block = "*/" not in stripped
            continue
        if 'R"' in line and ')"' not in line.split('R"', 1)[1]:
            in_raw = True
            continue
        # A reserve() only changes the speed, nothing a test can see.
        if (not stripped or stripped.startswith("//") or stripped.startswith("#")
                or stripped.startswith("*") or re.search(r"\b(static_)?assert\s*\(", stripped)
                or ".reserve(" in stripped):
            continue
        yield number, line, blank_literals(line)


# Binary operators need a space on both sides, which keeps template brackets,
# shifts and arrows out.
SWAPS = [
    (r"(?<= )<(?= )", "<="), (r"(?<= )<=(?= )", "<"),
    (r"(?<= )>(?= )", ">="), (r"(?<= )>=(?= )", ">"),
    (r"(?<= )==(?= )", "!="), (r"(?<= )!=(?= )", "=="),
    (r"(?<= )\+(?= )", "-"), (r"(?<= )-(?= )", "+"),
    (r"(?<= )\+=(?= )", "-="), (r"(?<= )-=(?= )", "+="),
    (r"(?<=\w)\+\+|\+\+(?=\w)", "--"), (r"(?<=\w)--|--(?=\w)", "++"),
    (r"(?<= )&&(?= )", "||"), (r"(?<= )\|\|(?= )", "&&"),
    (r"\btrue\b", "false"), (r"\bfalse\b", "true"),
]
FOLDS = r"\b(std::tolower|std::toupper|foldAscii|foldedCopy|folded|foldWord|caseFolded)\("
NUMBER = r"(?<![\w.])(\d+)(?![\w.'])"
CALL_STATEMENT = re.compile(r"^\s*[A-Za-z_][\w:.\->\[\]]*\(.*\);\s*$")
NOT_A_CALL = re.compile(r"^\s*(return|if|while|for|switch|case|delete|throw|using|typedef|auto|const|static|else)\b")


def matching_paren(blanked, start):
    depth = 0
    for i in range(start, len(blanked)):
        if blanked[i] == "(":
            depth += 1
        elif blanked[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def line_mutants(line, blanked, starts_statement=True):
    """Every mutated version of one line, as (new line, short description)."""
    found = []

    def replace(start, end, new):
        found.append((line[:start] + new + line[end:], f"{line[start:end]} -> {new}"))

    for pattern, new in SWAPS:
        for m in re.finditer(pattern, blanked):
            replace(m.start(), m.end(), new)
    for m in re.finditer(NUMBER, blanked):
        value = int(m.group(1))
        replace(m.start(), m.end(), str(value + 1))
        if value > 0:
            replace(m.start(), m.end(), str(value - 1))
    for m in re.finditer(r"\b(if|while) \(", blanked):
        open_at = m.end() - 1
        close_at = matching_paren(blanked, open_at)
        if close_at > 0:
            condition = line[open_at + 1:close_at]
            found.append((line[:open_at + 1] + "!(" + condition + ")" + line[close_at:],
                          f"{m.group(1)} (...) -> {m.group(1)} (!(...))"))
    for m in re.finditer(FOLDS, blanked):
        close_at = matching_paren(blanked, m.end() - 1)
        if close_at > 0:
            found.append((line[:m.start()] + line[m.end() - 1:], f"{m.group(1)}(x) -> (x)"))
    if starts_statement and CALL_STATEMENT.match(blanked) and not NOT_A_CALL.match(blanked) \
            and blanked.count("(") == blanked.count(")") and " = " not in blanked:
        found.append(("", "call removed"))
    return found


def mutants_of(path):
    text = path.read_text(encoding="utf-8", errors="surrogateescape")
    lines = text.split("\n")
    result = []
    previous = ";"
    for number, line, blanked in code_lines(text):
        # A line that goes on with the expression of the line before is no
        # statement of its own to drop.
        starts = previous.rstrip().endswith((";", "{", "}", ":", ")", "else"))
        previous = blanked
        for new_line, what in line_mutants(line, blanked, starts):
            changed = lines[:]
            changed[number - 1] = new_line
            result.append({"line": number, "before": line.strip(), "after": new_line.strip(),
                           "what": what, "text": "\n".join(changed)})
    return result

# ---------------------------------------------------------------- building

def run(command, timeout=None, **kwargs):
    """Runs a command niced, quietly; returns (exit status, output tail),
    status None on time-out. The whole process group goes on time-out."""
    proc = subprocess.Popen(["nice", "-n", "15"] + command, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, start_new_session=True, **kwargs)
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out.decode(errors="replace")
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.communicate()
        return None, ""
    except BaseException:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.communicate()
        raise


def configure():
    extra = os.environ.get("TAFELBAU_CMAKE_ARGS", "").split()
    status, out = run(["cmake", "-S", str(ROOT), "-B", str(BUILD), "-G", "Ninja",
                       "-DCMAKE_BUILD_TYPE=Release", "-DTAFELBAU_BUILD_BENCH=OFF"] + extra)
    if status != 0:
        sys.exit("mutate: cmake failed\n" + out[-3000:])


def ninja(*targets, timeout=None):
    return run(["ninja", "-C", str(BUILD)] + list(targets), timeout=timeout)


def object_of(source):
    relative = source.relative_to(ROOT / "src")
    return f"src/CMakeFiles/tafelbau_core.dir/{relative}.o"


def suite_names():
    """The ctest names outside core_tests: the UI programs, golden files,
    install checks."""
    status, out = run(["ctest", "--test-dir", str(BUILD), "-N"])
    names = re.findall(r"Test\s+#\d+: (\S+)", out)
    status, listing = run([str(BUILD / "core_tests"), "--gtest_list_tests"])
    core = set()
    suite = ""
    for row in listing.splitlines() if status == 0 else []:
        if not row.startswith(" "):
            suite = row.strip()
        else:
            core.add(suite + row.split("#")[0].strip())
    return [n for n in names if n not in core]

# ---------------------------------------------------------------- restore

class Restorer:
    """Holds the original bytes of the file being mutated, on disk too, and
    puts them back on every way out."""

    def __init__(self):
        self.path = None
        self.original = None

    def recover_earlier_run(self):
        if not BACKUP.exists():
            return
        for saved in BACKUP.rglob("*"):
            if saved.is_file():
                target = ROOT / saved.relative_to(BACKUP)
                shutil.copyfile(saved, target)
                print(f"mutate: restored {target.relative_to(ROOT)} left mutated by an interrupted run")
        shutil.rmtree(BACKUP)

    def mutate(self, path, text):
        if self.path != path:
            self.restore()
            self.path = path
            self.original = path.read_bytes()
            copy = BACKUP / path.relative_to(ROOT)
            copy.parent.mkdir(parents=True, exist_ok=True)
            copy.write_bytes(self.original)
        path.write_bytes(text.encode("utf-8", errors="surrogateescape"))

    def restore(self):
        if self.path is None:
            return
        # Written anew, so the next build sees a newer file than the mutant.
        self.path.write_bytes(self.original)
        shutil.rmtree(BACKUP, ignore_errors=True)
        self.path = None


def raise_on_signal(number, _frame):
    raise KeyboardInterrupt(f"signal {number}")

# ---------------------------------------------------------------- main

def main():
    parser = argparse.ArgumentParser(description="Mutation testing of the core sources.")
    parser.add_argument("files", nargs="*", help="core sources (default: every .cpp under src/core)")
    parser.add_argument("--sample", type=int, default=0, help="mutants per file, chosen at random")
    parser.add_argument("--timeout", type=int, default=300, help="seconds per mutant for the tests")
    parser.add_argument("--seed", type=int, default=23)
    parser.add_argument("--list", action="store_true", help="only list the mutants")
    parser.add_argument("--survivors", action="store_true",
                        help="try again only the mutants whose latest logged result is a survivor")
    parser.add_argument("--table", action="store_true",
                        help="the score per file from build-mutate/mutate-results.jsonl, latest result per mutant")
    args = parser.parse_args()
    if args.table:
        return print_table()

    files = [Path(f).resolve() for f in args.files] or sorted((ROOT / "src/core").rglob("*.cpp"))
    for f in files:
        if not f.is_file() or not f.is_relative_to(ROOT / "src/core") or f.suffix != ".cpp":
            sys.exit(f"mutate: {f} is no .cpp file under src/core")

    survivors = set()
    if args.survivors:
        latest = {}
        for row in RESULTS.read_text().splitlines() if RESULTS.exists() else []:
            r = json.loads(row)
            latest[(r["file"], r["line"], r["after"])] = r["outcome"]
        survivors = {key for key, outcome in latest.items() if outcome == "survived"}
        if not args.files:
            files = sorted({ROOT / key[0] for key in survivors})
    plan = []
    rng = random.Random(args.seed)
    for f in files:
        mutants = mutants_of(f)
        total = len(mutants)
        if args.survivors:
            name = str(f.relative_to(ROOT))
            mutants = [m for m in mutants if (name, m["line"], m["after"]) in survivors]
        elif args.sample and args.sample < total:
            mutants = sorted(rng.sample(mutants, args.sample), key=lambda m: m["line"])
        plan.append((f, total, mutants))
    if args.list:
        for f, total, mutants in plan:
            for m in mutants:
                print(f"{f.relative_to(ROOT)}:{m['line']}: {m['before']}  ->  {m['after'] or '(removed)'}")
        return 0

    restorer = Restorer()
    for number in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(number, raise_on_signal)
    restorer.recover_earlier_run()
    BUILD.mkdir(exist_ok=True)
    configure()
    started = time.time()
    print("mutate: baseline build ...", flush=True)
    status, out = ninja()
    if status != 0:
        sys.exit("mutate: the unmutated tree does not build\n" + out[-3000:])
    # A test that fails without any mutant would count every mutant killed.
    status, out = run([str(BUILD / "core_tests"), "--gtest_brief=1"], cwd=BUILD,
                      env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    if status != 0:
        sys.exit("mutate: core_tests fails on the unmutated tree\n" + out[-3000:])
    others = suite_names()
    pristine = BUILD / "mutate-pristine"
    pristine.mkdir(exist_ok=True)
    for f, _, _ in plan:
        shutil.copyfile(BUILD / object_of(f), pristine / (f.name + ".o"))
    print(f"mutate: baseline ready after {time.time() - started:.0f} s; "
          f"{sum(len(m) for _, _, m in plan)} mutants in {len(plan)} files", flush=True)

    summary = []
    try:
        for f, total, mutants in plan:
            name = str(f.relative_to(ROOT))
            counts = {"killed": 0, "survived": 0, "not built": 0, "same code": 0}
            survivors = []
            file_started = time.time()
            for m in mutants:
                mutant_started = time.time()
                restorer.mutate(f, m["text"])
                outcome, by = test_mutant(f, pristine / (f.name + ".o"), others, args.timeout)
                counts[outcome] += 1
                where = f"{name}:{m['line']}: {m['before']}  ->  {m['after'] or '(removed)'}"
                print(f"  {outcome:9} {time.time() - mutant_started:4.0f}s {where}" + (f"  [{by}]" if by else ""),
                      flush=True)
                if outcome == "survived":
                    survivors.append(where)
                with RESULTS.open("a") as log:
                    log.write(json.dumps({"file": name, "line": m["line"], "before": m["before"],
                                          "after": m["after"], "outcome": outcome, "by": by,
                                          "sampled": bool(args.sample), "total": total,
                                          "seconds": round(time.time() - mutant_started, 1)}) + "\n")
            restorer.restore()
            seconds = time.time() - file_started
            summary.append((name, total, len(mutants), counts, survivors, seconds))
    except KeyboardInterrupt:
        print("mutate: interrupted, the original file is back", file=sys.stderr)
    finally:
        restorer.restore()

    print("\nfile                                        mutants tried killed survived notbuilt same  score  s/mutant")
    for name, total, tried, counts, survivors, seconds in summary:
        judged = counts["killed"] + counts["survived"]
        score = f"{100 * counts['killed'] / judged:5.1f}%" if judged else "   -  "
        print(f"{name:44} {total:7} {tried:5} {counts['killed']:6} {counts['survived']:8} "
              f"{counts['not built']:8} {counts['same code']:4} {score} {seconds / max(tried, 1):8.1f}")
    for name, _, _, _, survivors, _ in summary:
        for s in survivors:
            print("survived: " + s)
    return 0


def print_table():
    """A Markdown table of the logged results; a mutant tried again counts
    with its latest outcome, as the tests may have changed in between."""
    latest = {}
    totals = {}
    for row in RESULTS.read_text().splitlines() if RESULTS.exists() else []:
        r = json.loads(row)
        latest[(r["file"], r["line"], r["after"])] = r
        totals[r["file"]] = r["total"]
    files = {}
    for r in latest.values():
        files.setdefault(r["file"], []).append(r)
    print("| file | mutants | tried | not built | same code | killed | survived | score |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|")
    for name in sorted(files):
        rows = files[name]
        n = {k: sum(1 for r in rows if r["outcome"] == k) for k in ("killed", "survived", "not built", "same code")}
        judged = n["killed"] + n["survived"]
        score = f"{100 * n['killed'] / judged:.0f} %" if judged else "-"
        print(f"| `{name}` | {totals[name]} | {len(rows)} | {n['not built']} | {n['same code']} | {n['killed']} | "
              f"{n['survived']} | {score} |")
    for name in sorted(files):
        for r in sorted(files[name], key=lambda r: r["line"]):
            if r["outcome"] == "survived":
                print(f"survived: {name}:{r['line']}: {r['before']}  ->  {r['after'] or '(removed)'}")
    return 0


def test_mutant(source, pristine_object, others, timeout):
    """(outcome, what decided it) for the mutant now in the tree."""
    obj = object_of(source)
    status, _ = ninja(obj)
    if status != 0:
        return "not built", ""
    if filecmp.cmp(BUILD / obj, pristine_object, shallow=False):
        return "same code", ""
    status, _ = ninja("core_tests")
    if status != 0:
        return "not built", ""
    status, out = run([str(BUILD / "core_tests"), "--gtest_fail_fast", "--gtest_brief=1"],
                      timeout=timeout, cwd=BUILD, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    if status is None:
        return "killed", "core_tests timeout"
    if status != 0:
        failed = re.search(r"\[  FAILED  \] (\S+)", out)
        return "killed", failed.group(1) if failed else "core_tests"
    status, _ = ninja()
    if status != 0:
        return "not built", ""
    pattern = "^(" + "|".join(re.escape(n) for n in others) + ")$"
    status, out = run(["ctest", "--test-dir", str(BUILD), "-j2", "--stop-on-failure",
                       "--timeout", str(timeout), "-R", pattern], timeout=timeout * 2,
                      env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    if status is None:
        return "killed", "suite timeout"
    if status != 0:
        failed = re.search(r"\d+ - (\S+) \(", out)
        return "killed", failed.group(1) if failed else "suite"
    return "survived", ""


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Measures how many small planted faults the test suites catch, folder by folder.

For each folder it picks, with a fixed seed, up to N one-line faults of the kinds a person slips
into: a flipped or loosened comparison, && for ||, an off-by-one, a changed constant, a swapped
pair of arguments, a dropped call. Each is planted alone in a scratch copy of the tree, the
folder's programs are rebuilt and every suite that can see the fault is run. A fault that does not
compile is left out; one that no suite notices is listed as a survivor. Each caught fault is
listed with the tests that failed, and the run ends with the number of faults each test caught
alone: what that test, and no other, guards.

Usage: scripts/plant_faults.py [--per-folder N] [--only FOLDER]   (run from a built tree: it
uses the linux preset's build folder of the scratch copy it makes, and mingw32's, or mingw64's
where this machine runs no 32-bit programs)
"""
import argparse
import collections
import os
import random
import re
import shutil
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# folder: (source files, how to build and test; each command must fail when a suite fails)
LINUX_TESTS = "cmake --build --preset linux --target {targets} -- -j2 >/dev/null 2>&1 || exit 99; " \
              "ctest --preset linux -j2 --timeout 120 --output-on-failure -R '{tests}' >\"$LOG\" 2>&1"
WINDOWS = "mingw32" if subprocess.run(
    ["bash", "-c", f". {ROOT}/scripts/lib/wine.sh && wine_runs_32bit"]).returncode == 0 else "mingw64"
WINE_TESTS = f"cmake --build --preset {WINDOWS} --target {{targets}} -- -j2 >/dev/null 2>&1 || exit 99; " \
             ". scripts/lib/xvfb.sh; start_xvfb; " \
             f"timeout 600 ctest --preset {WINDOWS} --timeout 300 --output-on-failure -R '{{tests}}' " \
             ">\"$LOG\" 2>&1; " \
             "status=$?; wineserver -k 2>/dev/null; exit $status"
QT = "korvale close_window qt_window_tests"
FOLDERS = {
    "core": (["core/*.cpp"], LINUX_TESTS.format(targets="core_tests ui_tests calc_tests korvale-calc",
                                                 tests="core|ui_|calc")),
    "report": (["report/*.cpp"], LINUX_TESTS.format(targets="calc_tests ui_tests korvale-calc",
                                                     tests="calc|ui_")),
    "calc": (["calc/*.cpp"], LINUX_TESTS.format(targets="calc_tests korvale-calc", tests="calc")),
    "state": (["state/*.cpp", "state/platform/posix.cpp"],
              LINUX_TESTS.format(targets=f"state_tests ui_tests {QT}", tests="state|ui_|debian")),
    "state/windows": (["state/platform/windows.cpp", "text_encoding/*.cpp"],
                      WINE_TESTS.format(targets="state_tests", tests="state")),
    "ui": (["ui/*.cpp", "ui/*.h"], LINUX_TESTS.format(targets=f"ui_tests {QT}", tests="ui_|qt_")),
    "ui/qt": (["ui/qt/*.cpp"], LINUX_TESTS.format(targets=QT, tests="qt_")),
    "ui/win32": (["ui/win32/*.cpp"],
                 WINE_TESTS.format(targets="win32_window_tests Korvale",
                                   tests="win32|korvale_exe")),
}

SWAPS = [(" == ", " != "), (" != ", " == "), (" < ", " <= "), (" <= ", " < "), (" > ", " >= "),
         (" >= ", " > "), (" && ", " || "), (" || ", " && "), ("true", "false"),
         ("false", "true"), (" + 1", " - 1"), (" - 1", " + 1")]


def candidates(path):
    """Every one-line fault that can be planted in a file: (line number, new line, what)."""
    faults = []
    lines = path.read_text(encoding="utf-8").splitlines(keepends=True)
    for number, line in enumerate(lines):
        code = line.split("//")[0]
        stripped = code.strip()
        if not stripped or stripped.startswith(("#", "*", "namespace", "}", "{")):
            continue
        for old, new in SWAPS:
            if old in code:
                faults.append((number, line.replace(old, new, 1), f"{old.strip()} -> {new.strip()}"))
        for match in re.finditer(r"(?<![\w.])(\d+)(?![\w.])", code):
            value = int(match.group(1))
            changed = line[:match.start()] + str(value + 1) + line[match.end():]
            faults.append((number, changed, f"{value} -> {value + 1}"))
        call = re.match(r"^(\s*)([\w:.>\-]+\(.*\);)\s*$", code)
        if call and not stripped.startswith("return"):
            faults.append((number, call.group(1) + ";  // dropped\n", "call dropped"))
        pair = re.search(r"\((\w+), (\w+)\)", code)
        if pair:
            swapped = line[:pair.start()] + f"({pair.group(2)}, {pair.group(1)})" + line[pair.end():]
            faults.append((number, swapped, "arguments swapped"))
    return faults


def failed_tests(log):
    """The failing tests a ctest log names: each failed GoogleTest case (Suite.Case) within its
    program, and each failed script by its ctest name."""
    text = log.read_text(encoding="utf-8", errors="replace") if log.exists() else ""
    cases = set(re.findall(r"^\[  FAILED  \] (\w+\.\w+)(?: \(| ,|$)", text, re.M))
    programs = set(re.findall(r"^\s*\d+ - (\S+) \(", text, re.M))
    scripts = {p for p in programs if not re.search(r"_tests$|window_in_|window_at_|layout_at_", p)}
    return sorted(cases | scripts)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--per-folder", type=int, default=20)
    parser.add_argument("--only")
    args = parser.parse_args()
    scratch = ROOT / "build" / "planted"
    if not scratch.exists():
        subprocess.run(["git", "worktree", "add", "--detach", str(scratch)], cwd=ROOT, check=True)
    commit = subprocess.run(["git", "rev-parse", "HEAD"], cwd=ROOT, check=True,
                            capture_output=True, text=True).stdout.strip()
    subprocess.run(["git", "checkout", "--detach", "-q", commit], cwd=scratch, check=True)
    subprocess.run("git reset -q --hard && cmake --preset linux >/dev/null && "
                   f"cmake --preset {WINDOWS} >/dev/null", shell=True, cwd=scratch, check=True)
    log = scratch / "build" / "planted.log"
    environment = dict(os.environ, LOG=str(log))
    only_catcher = collections.Counter()  # test -> faults that it alone caught
    random.seed(158)
    for folder, (patterns, command) in FOLDERS.items():
        if args.only and folder != args.only:
            continue
        files = sorted({f for pattern in patterns for f in scratch.glob(pattern)})
        pool = [(f, *fault) for f in files for fault in candidates(f)]
        random.shuffle(pool)
        caught, planted, survivors = 0, 0, []
        for path, number, new_line, what in pool:
            if planted == args.per_folder:
                break
            original = path.read_text(encoding="utf-8")
            lines = original.splitlines(keepends=True)
            lines[number] = new_line
            path.write_text("".join(lines), encoding="utf-8")
            log.unlink(missing_ok=True)
            result = subprocess.run(["bash", "-c", command], cwd=scratch, env=environment)
            path.write_text(original, encoding="utf-8")
            if result.returncode == 99:
                continue  # does not compile: not a fault anyone could ship
            planted += 1
            where = f"{path.relative_to(scratch)}:{number + 1} ({what})"
            if result.returncode != 0:
                caught += 1
                catchers = failed_tests(log)
                if len(catchers) == 1:
                    only_catcher[catchers[0]] += 1
                print(f"  caught   {where} by {', '.join(catchers) or 'a timeout'}", flush=True)
            else:
                survivors.append(where)
                print(f"  SURVIVED {where}: {new_line.strip()}", flush=True)
        share = 100 * caught // planted if planted else 0
        print(f"{folder}: {caught} of {planted} caught ({share}%)", flush=True)
    print("Faults that one test alone caught:")
    for test, count in sorted(only_catcher.items()):
        print(f"  {test}: {count}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

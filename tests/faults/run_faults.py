#!/usr/bin/env python3
"""Measures how many small faults the tests catch.

Copies the committed code (HEAD) to a temporary folder, builds
the test programs there once, then puts each fault of fault_list.py into
the code alone, rebuilds what it touches, runs the test programs named for
it, and takes the code back. A fault counts as caught when a test fails or
hangs. At the end it prints the count, the share, and the faults that got
through. The tree you work in is never changed.

Before any fault, the same tests run on the unchanged copy: a test that
fails there would fail with every fault too and make it look caught, so
while any fails the script names them, counts nothing and exits with 2.

Usage: tests/faults/run_faults.py [--only N,N,...] [--work DIR]
With --work, the copy and its build are kept in DIR and used again by the
next run with the same DIR (the copy is not refreshed then).
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from fault_list import FAULTS  # noqa: E402

# Tests too slow to run once per fault; what they guard is caught by others.
SLOW_TESTS = {
    "purge_tests": "-RunSafety.ATreeDeeperThanAnyPath*:RunSafety.AFolderSwapped*",
    "veldran_tests": "-*Race*",
}
# A whole test program, not one test: the disk tests alone take minutes
# on a loaded machine, and a slow run must not pass for a hang.
TEST_TIMEOUT = 900


def run(command, cwd, quiet=True, timeout=None):
    return subprocess.run(command, cwd=cwd, timeout=timeout,
                          stdout=subprocess.DEVNULL if quiet else None,
                          stderr=subprocess.DEVNULL if quiet else None).returncode


def copy_tree(repo, work):
    archive = subprocess.run(["git", "archive", "HEAD"], cwd=repo, check=True,
                             capture_output=True).stdout
    subprocess.run(["tar", "-x", "-C", work], input=archive, check=True)


def programs_of(fault):
    programs = list(fault[3])
    if fault[0].startswith("torvix/"):
        programs.append("torvix")  # the library the other tests load
    return programs


def gtest_command(build, program):
    # One failing test is all a fault needs; the rest would only cost time.
    command = [os.path.join(build, "bin", program), "--gtest_fail_fast"]
    if program in SLOW_TESTS:
        command.append("--gtest_filter=" + SLOW_TESTS[program])
    return command


def failing_program(build, programs):
    """The first test program that fails or hangs, or None."""
    for program in programs:
        if program == "torvix":
            continue
        try:
            if run(gtest_command(build, program), build, timeout=TEST_TIMEOUT) != 0:
                return program
        except subprocess.TimeoutExpired:
            return program
    return None


def unfinished_test(output):
    """The test that started last and never ended, or None."""
    started = re.findall(r"^\[ RUN      \] (\S+)", output, re.M)
    ended = set(re.findall(r"^\[  (?:     OK|FAILED ) \] ([^\s,]+)", output, re.M))
    return started[-1] if started and started[-1] not in ended else None


def failing_tests(build, program):
    """The tests of one program that fail, crash or hang, each named with
    what went wrong; empty when all pass."""
    try:
        result = subprocess.run(gtest_command(build, program), cwd=build, timeout=TEST_TIMEOUT,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    except subprocess.TimeoutExpired as hung:
        output = (hung.stdout or b"").decode(errors="replace")
        return [f"{program}: {unfinished_test(output) or 'a test'} hangs "
                f"(no end after {TEST_TIMEOUT} s)"]
    if result.returncode == 0:
        return []
    output = result.stdout.decode(errors="replace")
    # Each failure's own line ends in its time; the summary repeats them without.
    failed = re.findall(r"^\[  FAILED  \] ([^\s,]+).*\(\d+ ms\)$", output, re.M)
    named = [f"{program}: {test} fails" for test in failed]
    if result.returncode < 0:
        # Killed by a signal: the test under way when it came took the rest with it.
        culprit = unfinished_test(output) or "a test"
        named.append(f"{program}: {culprit} dies with signal {-result.returncode} "
                     "(the tests after it did not run)")
    elif not named:
        named.append(f"{program}: exits with {result.returncode} and names no failing test")
    return named


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", help="numbers of the faults to try, e.g. 3,17")
    parser.add_argument("--work", help="folder for the copy and its build, kept for the next run")
    args = parser.parse_args()

    repo = subprocess.run(["git", "rev-parse", "--show-toplevel"], check=True,
                          capture_output=True, text=True).stdout.strip()
    chosen = range(1, len(FAULTS) + 1)
    if args.only:
        chosen = [int(n) for n in args.only.split(",")]

    work = args.work or tempfile.mkdtemp(prefix="kestrane-faults-")
    build = os.path.join(work, "build")
    try:
        if not os.path.isfile(os.path.join(work, "CMakeLists.txt")):
            os.makedirs(work, exist_ok=True)
            copy_tree(repo, work)
        all_programs = sorted({p for n in chosen for p in programs_of(FAULTS[n - 1])})
        print(f"building {', '.join(all_programs)} in {build} ...", flush=True)
        if run(["cmake", "-S", work, "-B", build, "-G", "Ninja", "-DKESTRANE_WITH_QT=OFF"], work) or \
                run(["cmake", "--build", build, "--target"] + all_programs, work, quiet=False):
            print("the unchanged code does not build; no fault is counted", file=sys.stderr)
            sys.exit(2)
        print("running the tests of the unchanged code ...", flush=True)
        baseline = [name for program in all_programs if program != "torvix"
                    for name in failing_tests(build, program)]
        if baseline:
            print("the unchanged code fails these tests; no fault is counted until they pass:",
                  file=sys.stderr)
            for name in baseline:
                print(f"  {name}", file=sys.stderr)
            sys.exit(2)

        caught, missed, not_applied = [], [], []
        for number in chosen:
            path, before, after, _ = FAULTS[number - 1]
            source = os.path.join(work, path)
            with open(source, encoding="utf-8") as f:
                original = f.read()
            label = f"{number:3d} {path}: {before.strip()[:60]!r}"
            if original.count(before) != 1:
                not_applied.append(label)
                print(f"{label}  NOT APPLIED (the text is not there once)", flush=True)
                continue
            with open(source, "w", encoding="utf-8") as f:
                f.write(original.replace(before, after))
            try:
                programs = programs_of(FAULTS[number - 1])
                if run(["cmake", "--build", build, "--target"] + programs, work) != 0:
                    not_applied.append(label)
                    verdict = "DOES NOT BUILD"
                elif failing_program(build, programs):
                    caught.append(label)
                    verdict = "caught"
                else:
                    missed.append(label)
                    verdict = "MISSED"
            finally:
                with open(source, "w", encoding="utf-8") as f:
                    f.write(original)
            print(f"{label}  {verdict}", flush=True)

        tried = len(caught) + len(missed)
        share = 100.0 * len(caught) / tried if tried else 0.0
        print(f"\n{len(caught)} of {tried} faults caught ({share:.0f} %); "
              f"{len(not_applied)} not applied")
        for label in missed:
            print(f"  missed: {label}")
        for label in not_applied:
            print(f"  not applied: {label}")
        sys.exit(0 if not missed else 1)
    finally:
        if not args.work:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()

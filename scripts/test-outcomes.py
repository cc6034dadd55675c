#!/usr/bin/env python3
"""What the test programs reported, read from their output in one way: each
program's passed cases (gtest's "[       OK ]" lines) and its skipped ones
with their reasons (the "skipped: Suite.Name: reason" lines that
tests/support/test_main.cpp prints at the end).

  test-outcomes.py report CTEST_LOG
      the cases that ctest's run skipped, with the reason each gave
  test-outcomes.py compare CTEST_LOG RESULTS_TXT [932]
      run-tests.cmd's results.txt against ctest's log, program by program; a
      skip that ctest did not have is an error, unless it names what the
      bundle leaves out or, with 932 given, says that it needs code page 932.
      Exits 1 and names each difference.
"""
import os
import re
import sys

# Where each program's output starts: in ctest's log and in results.txt.
CTEST_START = r"\n\d+/\d+ Testing: "
BUNDLE_START = r"\n==== (?=\S+: bin\\)"


def outcomes(path, start):
    """{program: (passed cases, {skipped case: reason})}"""
    text = open(path, encoding="latin-1").read().replace("\r\n", "\n")
    programs = {}
    for block in re.split(start, text)[1:]:
        name, body = block.split("\n", 1)
        passed = len(re.findall(r"^\[       OK \] ", body, re.M))
        skips = dict(re.findall(r"^skipped: (\S+): (.*)$", body, re.M))
        programs[name.split(":")[0].strip()] = (passed, skips)
    return programs


def report(log):
    programs = outcomes(log, CTEST_START)
    for name, (_, skips) in programs.items():
        for case, reason in skips.items():
            print(f"  skipped in {name}: {case}: {reason}")
    cases = sum(len(skips) for _, skips in programs.values())
    skipping = sum(1 for _, skips in programs.values() if skips)
    print(f"ctest: {skipping} test programs skipped {cases} test cases")
    return 0


def compare(ctest_log, results, code_page=""):
    if not os.path.isfile(results):
        print(f"{results}: not there", file=sys.stderr)
        return 1
    ctest = outcomes(ctest_log, CTEST_START)
    bundle = outcomes(results, BUNDLE_START)
    errors = []
    for name in sorted(set(ctest) | set(bundle)):
        if name not in ctest:
            errors.append(f"{name}: ran only in the bundle")
            continue
        if name not in bundle:
            if ctest[name] != (0, {}):  # not a script test, which has no cases
                errors.append(f"{name}: ran only under ctest")
            continue
        (c_passed, c_skips), (b_passed, b_skips) = ctest[name], bundle[name]
        extra = {k: v for k, v in b_skips.items() if k not in c_skips}
        left_out = {k for k, v in extra.items() if "left out of the test bundle" in v}
        if set(c_skips) - set(b_skips):
            errors.append(f"{name}: ctest skipped {sorted(set(c_skips) - set(b_skips))}, the bundle ran them")
        if set(extra) - left_out and code_page != "932":
            errors.append(f"{name}: skipped only in the bundle: {extra}")
        for case, reason in extra.items():
            if case not in left_out and "needs ANSI code page 932" not in reason:
                errors.append(f"{name}: {case} skipped for another reason: {reason}")
        if b_passed + len(extra) != c_passed:
            errors.append(f"{name}: {b_passed} passed and {len(extra)} more skipped in the bundle, {c_passed} passed under ctest")
    if errors:
        print("\n".join(errors), file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    commands = {"report": (report, 1, 1), "compare": (compare, 2, 3)}
    command = commands.get(sys.argv[1] if len(sys.argv) > 1 else "")
    if not command or not command[1] <= len(sys.argv) - 2 <= command[2]:
        sys.exit(__doc__)
    sys.exit(command[0](*sys.argv[2:]))

#!/usr/bin/env python3
"""Runs one end-to-end scenario against the built program:
   run.py --xo build/app/xo --artifacts DIR SCENARIO
   run.py --list    (the scenarios' names, for ctest)
Prints '1 passed, 0 failed' or '0 passed, 1 failed' and exits accordingly;
a scenario that cannot run here (test data absent) exits with SKIP_CODE."""

import argparse
import os
import shutil
import signal
import sys
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import scenarios  # noqa: E402
from xo_e2e import Failure, Session, Skipped  # noqa: E402

# ctest counts a scenario that ends with this code as skipped.
SKIP_CODE = 77


def main():
    if sys.argv[1:] == ["--list"]:
        print(";".join(sorted(scenarios.ALL)))
        return 0
    parser = argparse.ArgumentParser()
    parser.add_argument("--xo", required=True)
    parser.add_argument("--artifacts", default="e2e-artifacts")
    parser.add_argument("--time-limit", type=int, default=60)
    parser.add_argument("scenario", choices=sorted(scenarios.ALL))
    a = parser.parse_args()
    for tool in ("Xvfb", "xdotool", "import", "convert"):
        if not shutil.which(tool):
            print("e2e: %s is missing; run scripts/setup" % tool)
            return 1

    def too_long(*_):
        raise Failure("the scenario ran over its time limit of %d s" % a.time_limit)

    signal.signal(signal.SIGALRM, too_long)
    signal.alarm(a.time_limit)
    session = Session(os.path.abspath(a.xo), os.path.abspath(a.artifacts), a.scenario)
    failed = True
    skipped = None
    try:
        scenarios.ALL[a.scenario](session)
        failed = False
    except Skipped as reason:
        failed = False
        skipped = str(reason)
    except Exception:  # a failed check or a broken step: both fail the scenario
        traceback.print_exc()
        print("windows:", session.titles() if session.xvfb.poll() is None else "-")
        print("trace:", session.trace())
    finally:
        signal.alarm(0)
        session.close(failed)
    if skipped:
        print("%s: skipped: %s" % (a.scenario, skipped))
        print("%s: 0 passed, 0 failed, 1 skipped" % a.scenario)
        return SKIP_CODE
    print("%s: %d passed, %d failed" % (a.scenario, 0 if failed else 1, 1 if failed else 0))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

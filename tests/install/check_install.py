#!/usr/bin/env python3
"""make install into a temporary DESTDIR, checked file by file: the program,
its help, the desktop entry, the icons, the AppStream metadata and the
manual page, the entry and the metadata through their validators, and the
installed program's --version run from the installed prefix.
   check_install.py BUILD_DIR"""

import os
import shutil
import subprocess
import sys
import tempfile

EXPECTED = ["bin/xo", "share/xo/xo.hlp", "share/applications/cz.xo.Xo.desktop", "share/metainfo/cz.xo.Xo.metainfo.xml",
            "share/icons/hicolor/scalable/apps/cz.xo.Xo.svg", "share/man/man1/xo.1.gz",
            "share/doc/xo/changelog.gz", "share/doc/xo/copyright"] + [
    "share/icons/hicolor/%dx%d/apps/cz.xo.Xo.png" % (s, s) for s in (16, 24, 32, 48, 64, 128, 256)]


def main():
    build = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as dest:
        env = dict(os.environ, DESTDIR=dest)
        subprocess.run(["cmake", "--install", build, "--prefix", "/opt/xo"], env=env, check=True,
                       stdout=subprocess.DEVNULL)
        root = os.path.join(dest, "opt/xo")
        installed = sorted(os.path.relpath(os.path.join(d, n), root) for d, _, ns in os.walk(root) for n in ns)
        for f in EXPECTED:
            if f not in installed:
                failures.append("not installed: " + f)
        for f in installed:
            if f not in EXPECTED:
                failures.append("installed but not expected: " + f)
        for tool, args in (("desktop-file-validate", [os.path.join(root, EXPECTED[2])]),
                           ("appstreamcli", ["validate", "--no-net", os.path.join(root, EXPECTED[3])])):
            if not shutil.which(tool):
                failures.append("%s is missing (scripts/setup installs it)" % tool)
                continue
            r = subprocess.run([tool, *args], capture_output=True, text=True)
            text = r.stdout + r.stderr
            # desktop-file-validate: no error and no warning (a hint is advice).
            if r.returncode != 0 or "error" in text.lower() or "warning" in text.lower():
                failures.append("%s: %s" % (tool, text.strip()))
        env = {"PATH": "/usr/bin:/bin", "HOME": dest}  # no display
        r = subprocess.run([os.path.join(root, "bin/xo"), "--version"], env=env, capture_output=True, text=True)
        if r.returncode != 0 or "Xo!" not in r.stdout:
            failures.append("installed xo --version: %d %r %r" % (r.returncode, r.stdout, r.stderr))
    for f in failures:
        print(f)
    print("install: %d passed, %d failed" % (0 if failures else 1, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

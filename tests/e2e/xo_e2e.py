"""Drives the built xo in a private X server the way a user does: real key
and mouse events through xdotool, windows found by their titles, files and
the configuration on disk, screenshots, and the platform layer's trace of
the messages and dialogs it showed (XO_TRACE)."""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time


class Failure(Exception):
    pass


class Skipped(Exception):
    """The scenario cannot run here (its reason says why); what it did so far passed."""


class Session:
    WIDTH, HEIGHT = 1280, 900

    def __init__(self, xo, artifacts, name):
        self.xo = xo
        self.name = name
        self.artifacts = artifacts
        self.tmp = tempfile.mkdtemp(prefix="xo-e2e-")
        self.home = os.path.join(self.tmp, "home")
        self.config_dir = os.path.join(self.home, ".config")
        self.runtime = os.path.join(self.tmp, "runtime")
        self.trace_file = os.path.join(self.tmp, "trace.txt")
        os.makedirs(self.config_dir)
        os.makedirs(self.runtime, mode=0o700)
        self.proc = None
        self.log = None
        self.shots = 0
        self._start_x()

    # ------------------------------------------------------------ X server

    def _start_x(self):
        r, w = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", f"{self.WIDTH}x{self.HEIGHT}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        number = b""
        deadline = time.time() + 15
        while not number.endswith(b"\n"):
            if time.time() > deadline:
                raise Failure("Xvfb did not start")
            chunk = os.read(r, 16)
            if not chunk:
                raise Failure("Xvfb exited at start")
            number += chunk
        os.close(r)
        self.display = ":" + number.decode().strip()
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.home,
            "DISPLAY": self.display,
            "XDG_CONFIG_HOME": self.config_dir,
            "XDG_RUNTIME_DIR": self.runtime,
            "XO_TRACE": self.trace_file,
            "LC_ALL": "C.UTF-8",
            "QT_QPA_PLATFORM": "xcb",
            "QT_IM_MODULE": "compose",
            "QTWEBENGINE_DISABLE_SANDBOX": "1",
        }
        # A window manager, as on a desktop: it gives the focus back to the
        # main window when a dialog closes, and activates new windows.
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env, cwd=self.tmp,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wait(lambda: subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                                         capture_output=True, text=True).stdout.count("window id"),
                  "the window manager", 15)

    # ------------------------------------------------------------ program

    def start(self, *args):
        self.log = open(os.path.join(self.tmp, "xo.log"), "w")
        self.proc = subprocess.Popen([self.xo, *args], env=self.env, cwd=self.home,
                                     stdout=self.log, stderr=subprocess.STDOUT)

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def wait_exit(self, timeout=10):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("xo is still running after %d s" % timeout)

    def close(self, failed):
        if self.proc and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGKILL)
            self.proc.wait()
        if self.log:
            self.log.close()
        self.wm.terminate()
        self.xvfb.terminate()
        try:
            self.xvfb.wait(5)
        except subprocess.TimeoutExpired:
            self.xvfb.kill()
        if failed or os.environ.get("XO_E2E_KEEP"):
            keep = os.path.join(self.artifacts, self.name)
            shutil.rmtree(keep, ignore_errors=True)
            def skipped(folder, names):  # FIFOs and the like cannot be copied
                return [n for n in names if n == "runtime" or not (
                    os.path.isfile(os.path.join(folder, n)) or os.path.isdir(os.path.join(folder, n)))]
            shutil.copytree(self.tmp, keep, ignore=skipped)
            print("e2e: kept the session in", keep)
        shutil.rmtree(self.tmp, ignore_errors=True)

    # ------------------------------------------------------------ waiting

    def wait(self, condition, what, timeout=10):
        deadline = time.time() + timeout
        while True:
            value = condition()
            if value:
                return value
            if self.proc is not None and self.proc.poll() is not None and "exit" not in what:
                raise Failure("xo ended (%s) while waiting for %s" % (self.proc.returncode, what))
            if time.time() > deadline:
                raise Failure("timed out waiting for " + what)
            time.sleep(0.05)

    # ------------------------------------------------------------ windows

    def xdotool(self, *args, check=True):
        r = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True, timeout=20)
        if check and r.returncode != 0:
            raise Failure("xdotool %s: %s" % (" ".join(args), r.stderr.strip()))
        return r.stdout

    def windows(self):
        """The mapped top-level windows as (id, title)."""
        out = self.xdotool("search", "--onlyvisible", "--name", ".", check=False)
        result = []
        for wid in out.split():
            name = self.xdotool("getwindowname", wid, check=False).strip()
            result.append((wid, name))
        return result

    def titles(self):
        return [t for _, t in self.windows()]

    def wait_window(self, title, timeout=10):
        pattern = re.compile(title)
        return self.wait(lambda: next((w for w, t in self.windows() if pattern.fullmatch(t)), None),
                         "a window titled " + title, timeout)

    def wait_no_window(self, title, timeout=10):
        pattern = re.compile(title)
        self.wait(lambda: not any(pattern.fullmatch(t) for t in self.titles()),
                  "no window titled " + title, timeout)

    def geometry(self, wid):
        out = self.xdotool("getwindowgeometry", "--shell", wid)
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    # ------------------------------------------------------------ input

    def key(self, *keys):
        self.xdotool("key", "--delay", "60", *keys)
        time.sleep(0.1)

    def type(self, text):
        self.xdotool("type", "--delay", "40", text)
        time.sleep(0.1)

    def click(self, x, y, button=1):
        self.xdotool("mousemove", str(x), str(y), "click", str(button))
        time.sleep(0.1)

    # ------------------------------------------------------------ trace

    def trace(self):
        if not os.path.exists(self.trace_file):
            return []
        with open(self.trace_file, encoding="utf-8") as f:
            return [line.rstrip("\n").split("\t") for line in f]

    def wait_trace(self, kind, text=None, count=1, timeout=10):
        def found():
            hits = [t for t in self.trace() if t[0] == kind and (text is None or text in "\t".join(t[1:]))]
            return hits if len(hits) >= count else None
        return self.wait(found, "%s %r in the trace" % (kind, text), timeout)

    # ------------------------------------------------------------ files

    def path(self, name):
        return os.path.join(self.home, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    # ------------------------------------------------------------ pixels

    def screenshot(self, label):
        self.shots += 1
        png = os.path.join(self.tmp, "%02d-%s.png" % (self.shots, label))
        subprocess.run(["import", "-display", self.display, "-window", "root", png],
                       env=self.env, check=True, timeout=30)
        raw = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], capture_output=True, check=True,
                             timeout=30).stdout
        return Image(raw, self.WIDTH, self.HEIGHT, png)


class Image:
    def __init__(self, raw, width, height, path):
        self.raw, self.width, self.height, self.path = raw, width, height, path

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.raw[i:i + 3])

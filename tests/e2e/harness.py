"""A small harness for the end-to-end tests: a private Xvfb, processes with their own
runtime folder and trace file, and waits on conditions with deadlines."""

import argparse
import ctypes
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def arguments():
    """The options of every end-to-end script (--saver, --pack, --shots, made absolute)
    and the rest of the command line, for unittest.main."""
    parser = argparse.ArgumentParser()
    for name in ("--saver", "--pack", "--shots"):
        parser.add_argument(name, required=True)
    args, rest = parser.parse_known_args()
    args.saver, args.pack, args.shots = (os.path.abspath(p) for p in (args.saver, args.pack, args.shots))
    return args, [sys.argv[0]] + rest


def die_with_parent():
    """In the child: end when the harness ends, however it ends (no stray X server)."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def wait_for(condition, timeout, interval=0.02):
    """True as soon as condition() is true, False when timeout seconds pass first."""
    deadline = time.monotonic() + timeout
    while True:
        if condition():
            return True
        if time.monotonic() >= deadline:
            return False
        time.sleep(interval)


class XServer:
    """Xvfb on a display number it picks itself (-displayfd), ended on stop()."""

    def __init__(self, width=1024, height=768):
        read_end, write_end = os.pipe()
        # -wr: a white root, so a screenshot tells a covered screen from a bare one.
        # -noreset: the server would otherwise reset whenever its last client leaves,
        # refusing the next test's first connection while it does.
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-wr", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=die_with_parent)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            self.stop()
            raise RuntimeError("Xvfb did not report a display")
        self.display = ":" + number.decode().strip()

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


class Run:
    """One program run with a private runtime folder, registry and trace."""

    def __init__(self, xserver, args, cwd, extra_env=None):
        self.dir = tempfile.mkdtemp(prefix="e2e-run-")
        self.runtime = os.path.join(self.dir, "runtime")
        os.mkdir(self.runtime, 0o700)
        self.trace_path = os.path.join(self.dir, "trace")
        env = dict(os.environ)
        env.pop("XSCREENSAVER_WINDOW", None)
        env.update({
            "DISPLAY": xserver.display,
            "QT_QPA_PLATFORM": "xcb",
            "XDG_RUNTIME_DIR": self.runtime,
            "PICTORALIA_TRACE": self.trace_path,
            "PICTORALIA_REGISTRY": os.path.join(self.dir, "registry.reg"),
            "PICTORALIA_NONINTERACTIVE": "1",
            "PICTORALIA_AUDIO": "null",
        })
        env.update(extra_env or {})
        self.env = env
        self.proc = subprocess.Popen(args, cwd=cwd, env=env, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, preexec_fn=die_with_parent)
        self._out = None

    def trace(self):
        try:
            with open(self.trace_path, encoding="utf-8", errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def traced(self, word):
        return any(line.split(" ")[1:2] == [word] for line in self.trace().splitlines())

    def running(self):
        return self.proc.poll() is None

    def wait_end(self, timeout):
        return wait_for(lambda: not self.running(), timeout)

    def signal(self, sig):
        self.proc.send_signal(sig)

    def output(self):
        if self._out is None:
            if self.running():
                self.proc.kill()
            out, err = self.proc.communicate(timeout=10)
            self._out = (out.decode(errors="replace"), err.decode(errors="replace"))
        return self._out

    def temp_folders(self):
        return [n for n in os.listdir(self.runtime)
                if os.path.isdir(os.path.join(self.runtime, n)) and n.startswith("pictoralia-")]

    def close(self):
        if self.running():
            self.proc.kill()
        self.output()
        shutil.rmtree(self.dir, ignore_errors=True)


def x(display, *args, check=True):
    """Runs an X client (xdotool, xprop, xwininfo...) on display; its stdout."""
    r = subprocess.run(list(args), env=dict(os.environ, DISPLAY=display), capture_output=True,
                       text=True, timeout=30)
    if check and r.returncode != 0:
        raise RuntimeError(f"{args}: {r.stderr.strip()}")
    return r.stdout


def screenshot(display, path):
    """The whole screen into path; its mean brightness, 0 (black) to 1 (white)."""
    x(display, "import", "-window", "root", path)
    return float(x(display, "convert", path, "-colorspace", "Gray", "-format", "%[fx:mean]", "info:"))

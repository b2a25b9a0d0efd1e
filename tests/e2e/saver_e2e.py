"""End-to-end tests of pictoralia-saver under a virtual X server: the full-screen saver
and its exit inputs, the orderly end on signals, the configuration dialog, the preview
and the hosted show inside foreign windows, one saver per display, the ".EXE" rule."""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import Run, XServer, arguments, screenshot, wait_for, x  # noqa: E402

ARGS = None
X = None
WORK = None
SAVERS = {}


def build(name, title, header="", texts=""):
    """A screen saver with one picture, built with pictoralia-pack."""
    manifest = os.path.join(WORK, name + ".toml")
    with open(manifest, "w", encoding="utf-8") as f:
        f.write(f'[texts]\nTitle = "{title}"\n{texts}\n[header]\n{header}\n'
                '[[items]]\nfile = "black.png"\n')
    out = os.path.join(WORK, name)
    subprocess.run([ARGS.pack, "build", manifest, "-o", out, "--template", ARGS.saver],
                   check=True, cwd=WORK, capture_output=True)
    return out


def setUpModule():
    global X, WORK
    WORK = tempfile.mkdtemp(prefix="e2e-savers-")
    os.makedirs(ARGS.shots, exist_ok=True)
    # Black, so that a screen covered by the saver tells from the white root whatever
    # the show puts on it.
    subprocess.run(["convert", "-size", "64x48", "xc:black", os.path.join(WORK, "black.png")], check=True)
    SAVERS["lights"] = build("lights.scr", "E2E Lights")
    SAVERS["link"] = build("link.scr", "E2E Link", texts='ExitLinkURL = "www.example.org/thanks"')
    SAVERS["allowed"] = build("allowed.scr", "E2E Allowed", header="AllowRunAsProgram = true")
    X = XServer()


def tearDownModule():
    if X:
        X.stop()
    shutil.rmtree(WORK, ignore_errors=True)


def host_window(title, geometry):
    """A plain X window of another program (xmessage) to draw into; (process, id)."""
    log_path = os.path.join(WORK, title.replace(" ", "_") + ".log")
    with open(log_path, "w") as log:
        proc = subprocess.Popen(["xmessage", "-name", title, "-title", title, "-geometry", geometry, title],
                                env=dict(os.environ, DISPLAY=X.display),
                                stdout=log, stderr=subprocess.STDOUT,
                                preexec_fn=harness.die_with_parent)
    ids = []

    def found():
        ids[:] = x(X.display, "xdotool", "search", "--onlyvisible", "--name", f"^{title}$", check=False).split()
        return bool(ids) or proc.poll() is not None

    wait_for(found, 20, 0.1)
    if not ids:
        proc.kill()
        proc.wait()
        with open(log_path) as log:
            raise RuntimeError(f"no host window (xmessage status {proc.returncode}): {log.read()}")
    return proc, int(ids[0])


def children(window_id):
    """(id, width, height) of the direct children of window_id."""
    out = x(X.display, "xwininfo", "-children", "-id", str(window_id))
    return [(int(m.group(1), 16), int(m.group(2)), int(m.group(3)))
            for m in re.finditer(r"^\s+(0x[0-9a-f]+) .*?: \(.*?\)\s+(\d+)x(\d+)\+", out, re.M)]


class Saver(unittest.TestCase):
    def start(self, args, saver="lights", extra_env=None, exe=None):
        run = Run(X, [exe or SAVERS[saver]] + args, WORK, extra_env)
        self.addCleanup(run.close)
        return run

    def shown(self, run, timeout=10):
        self.assertTrue(wait_for(lambda: run.traced("shown") or not run.running(), timeout),
                        "not shown in time")
        if not run.running():
            self.fail(f"ended early: {run.output()[1]}")
        # The window is mapped a moment after it is shown; wait until it covers the screen.
        wait_for(lambda: screenshot(X.display, os.path.join(ARGS.shots, "probe.png")) < 0.05, 5, 0.1)

    def mouse_to_centre(self):
        x(X.display, "xdotool", "mousemove", "512", "384")

    def test_full_screen_ends_on_a_move_beyond_five_pixels_and_cleans_up(self):
        self.mouse_to_centre()
        self.assertGreater(screenshot(X.display, os.path.join(ARGS.shots, "before.png")), 0.95)
        run = self.start(["/s"])
        self.shown(run)
        self.assertLess(screenshot(X.display, os.path.join(ARGS.shots, "saver.png")), 0.05,
                        "the saver covers the white screen")
        window = x(X.display, "xdotool", "search", "--name", "^E2E Lights$").split()[0]
        geometry = x(X.display, "xwininfo", "-id", window)
        self.assertIn("Width: 1024", geometry)
        self.assertIn("Height: 768", geometry)
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", x(X.display, "xprop", "-id", window, "_NET_WM_STATE"))
        self.assertEqual(len(run.temp_folders()), 1, "a private folder while running")

        x(X.display, "xdotool", "mousemove_relative", "--", "3", "0")
        self.assertFalse(run.wait_end(0.7), "3 pixels do not end the saver")
        x(X.display, "xdotool", "mousemove_relative", "--", "7", "0")
        started = time.monotonic()
        self.assertTrue(run.wait_end(1.0), "10 pixels end it within a second")
        self.assertLess(time.monotonic() - started, 1.0)
        self.assertEqual(run.proc.returncode, 0)
        self.assertIn("exit message=0x0200", run.trace())
        self.assertIn('trace text="FinishScreenSaver"', run.trace())
        self.assertTrue(run.traced("end"))
        self.assertEqual(run.temp_folders(), [], "no temporary folder afterwards")
        self.assertGreater(screenshot(X.display, os.path.join(ARGS.shots, "after.png")), 0.95)

    def test_key_ends_through_the_keyboard_grab(self):
        self.mouse_to_centre()
        run = self.start(["/s"])
        self.shown(run)
        x(X.display, "xdotool", "key", "a")
        self.assertTrue(run.wait_end(1.0))
        self.assertIn("exit message=0x0100 wparam=0x0041", run.trace())

    def test_termination_signals_end_in_order(self):
        for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            with self.subTest(signal=sig.name):
                self.mouse_to_centre()
                run = self.start(["/s"])
                self.shown(run)
                run.signal(sig)
                self.assertTrue(run.wait_end(0.5), "ends within half a second")
                self.assertEqual(run.proc.returncode, 0)
                self.assertIn(f"signal signal={int(sig)}", run.trace())
                self.assertEqual(run.temp_folders(), [])

    def test_crash_uncovers_the_screen_and_leaves_no_files(self):
        self.mouse_to_centre()
        run = self.start(["/s"])
        self.shown(run)
        self.assertEqual(len(run.temp_folders()), 1)
        run.signal(signal.SIGSEGV)  # as a faulting decoder or transition worker would
        self.assertTrue(run.wait_end(2))
        self.assertEqual(run.proc.returncode, -signal.SIGSEGV)
        self.assertEqual(run.temp_folders(), [])
        self.assertTrue(wait_for(lambda: screenshot(X.display, os.path.join(ARGS.shots, "crash.png")) > 0.95, 3, 0.1),
                        "the screen is uncovered")

    def test_second_saver_on_the_display_ends_at_once(self):
        self.mouse_to_centre()
        first = self.start(["/s"])
        self.shown(first)
        # The same user: the same runtime folder.
        second = self.start(["/s"], extra_env={"XDG_RUNTIME_DIR": first.runtime})
        self.assertTrue(second.wait_end(3), "the second one ends at once")
        self.assertEqual(second.proc.returncode, 0)
        self.assertTrue(second.traced("already-running"))
        self.assertFalse(second.traced("shown"))
        self.assertTrue(first.running())
        first.signal(signal.SIGTERM)
        self.assertTrue(first.wait_end(1))

    def test_exit_link_opens_through_the_desktop(self):
        bin_dir = os.path.join(WORK, "fakebin")
        os.makedirs(bin_dir, exist_ok=True)
        opened = os.path.join(WORK, "opened.txt")
        with open(os.path.join(bin_dir, "xdg-open"), "w") as f:
            f.write(f'#!/bin/sh\necho "$1" >> "{opened}"\n')
        os.chmod(os.path.join(bin_dir, "xdg-open"), 0o755)
        self.mouse_to_centre()
        run = self.start(["/s"], saver="link", extra_env={"PATH": bin_dir + ":" + os.environ["PATH"]})
        self.shown(run)
        x(X.display, "xdotool", "click", "1")
        self.assertTrue(run.wait_end(2))
        self.assertTrue(wait_for(lambda: os.path.exists(opened), 5))
        with open(opened) as f:
            self.assertEqual(f.read().strip(), "http://www.example.org/thanks")

    def test_configuration_dialog_is_titled_and_stores_on_close(self):
        run = self.start(["/c"])
        self.assertTrue(wait_for(lambda: run.traced("shown"), 10))
        ids = []
        self.assertTrue(wait_for(lambda: ids.extend(
            x(X.display, "xdotool", "search", "--onlyvisible", "--name", "^E2E Lights$", check=False).split())
            or ids, 5, 0.1))
        info = x(X.display, "xwininfo", "-id", ids[0])
        self.assertIn("Width: 513", info)
        screenshot(X.display, os.path.join(ARGS.shots, "config.png"))
        x(X.display, "xdotool", "windowfocus", "--sync", ids[0])
        x(X.display, "xdotool", "key", "Return")  # presses Close, the default button
        self.assertTrue(run.wait_end(3), run.trace())
        with open(run.env["PICTORALIA_REGISTRY"]) as f:
            stored = f.read()
        self.assertIn("E2E Lights", stored)
        self.assertIn('"ExitMouseMove"=dword:00000001', stored)

    def test_template_reports_the_package_error(self):
        for mode in ("/s", "/c"):
            with self.subTest(mode=mode):
                run = self.start([mode], exe=ARGS.saver)
                self.assertTrue(run.wait_end(10))
                self.assertEqual(run.proc.returncode, 1)
                self.assertIn("The screen saver can not run because of one of the following reasons:",
                              run.output()[1])

    def test_preview_inside_a_foreign_window_until_it_goes(self):
        host, host_id = host_window("E2E Preview Host", "400x300+20+20")
        self.addCleanup(lambda: (host.kill(), host.wait()))
        run = self.start(["/p", str(host_id)])
        self.assertTrue(wait_for(lambda: run.traced("shown"), 10), run.output()[1] if not run.running() else "")
        self.assertTrue(wait_for(lambda: (152, 112) in [(w, h) for _, w, h in children(host_id)], 5),
                        children(host_id))
        self.assertIn("mode mode=preview", run.trace())
        screenshot(X.display, os.path.join(ARGS.shots, "preview.png"))
        host.kill()
        self.assertTrue(run.wait_end(2), "ends when its host window is destroyed")
        self.assertEqual(run.temp_folders(), [])

    def test_hosted_show_owns_no_input_and_ends_on_sigterm(self):
        host, host_id = host_window("E2E Host", "640x480+30+30")
        self.addCleanup(lambda: (host.kill(), host.wait()))
        for args in (["-window-id", hex(host_id)], ["-root", "--window-id", str(host_id)]):
            with self.subTest(args=args):
                run = self.start(args)
                self.assertTrue(wait_for(lambda: run.traced("shown"), 10))
                self.assertTrue(wait_for(lambda: any(w >= 600 and h >= 400 for _, w, h in children(host_id)), 5),
                                children(host_id))
                self.assertIn("mode mode=hosted", run.trace())
                x(X.display, "xdotool", "mousemove", "100", "100", "mousemove", "300", "300", "click", "1",
                  "key", "Escape")
                self.assertFalse(run.wait_end(0.7), "the host owns the input")
                run.signal(signal.SIGSTOP)
                time.sleep(0.3)  # stopped: nothing to wait on
                run.signal(signal.SIGCONT)
                self.assertFalse(run.wait_end(0.5), "survives a stop and continue")
                screenshot(X.display, os.path.join(ARGS.shots, "hosted.png"))
                run.signal(signal.SIGTERM)
                self.assertTrue(run.wait_end(0.5), "ends within half a second")
                self.assertEqual(run.temp_folders(), [])

    def test_program_named_exe_runs_the_saver_only_when_allowed(self):
        for saver, allowed in (("lights", False), ("allowed", True)):
            with self.subTest(allowed=allowed):
                exe = os.path.join(WORK, f"{saver}-program.EXE")
                shutil.copy(SAVERS[saver], exe)
                self.mouse_to_centre()
                run = self.start(["/c"], exe=exe)
                if not allowed:
                    self.assertTrue(run.wait_end(5), "ends silently")
                    self.assertEqual(run.proc.returncode, 0)
                    self.assertFalse(run.traced("shown"))
                    self.assertNotIn("can not run", run.output()[1])
                else:
                    self.shown(run)
                    self.assertIn("mode mode=saver", run.trace())
                    run.signal(signal.SIGTERM)
                    self.assertTrue(run.wait_end(1))


if __name__ == "__main__":
    ARGS, argv = arguments()
    unittest.main(argv=argv, verbosity=2)

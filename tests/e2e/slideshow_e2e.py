"""End-to-end test of the slideshow under a virtual X server: a screen saver of four
pictures shows them full screen one after another, each sized by its size mode, while
the trace says when an item arrived and when its effect ended."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Run, XServer, arguments, wait_for, x  # noqa: E402

ARGS = None
X = None
WORK = None

# name, colour on screen, size mode of the item (-1 = the Stretch setting, 1)
ITEMS = [("red", (255, 0, 0), -1), ("lime", (0, 255, 0), -1), ("blue", (0, 0, 255), 2),
         ("yellow", (255, 255, 0), -1)]
BACKGROUND = (0x10, 0x18, 0x30)


def colours_at(path, points):
    """The (r, g, b) of a screenshot at each point."""
    fmt = " ".join(f"%[fx:int(255*p{{{px},{py}}}.{c}+0.5)]" for px, py in points for c in "rgb")
    values = [int(v) for v in x(X.display, "convert", path, "-format", fmt, "info:").split()]
    return [tuple(values[i:i + 3]) for i in range(0, len(values), 3)]


def close_to(a, b, tolerance=6):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def setUpModule():
    global X, WORK
    WORK = tempfile.mkdtemp(prefix="e2e-slideshow-")
    os.makedirs(ARGS.shots, exist_ok=True)
    items = ""
    for name, _, mode in ITEMS:
        subprocess.run(["convert", "-size", "320x240", f"xc:{name}", os.path.join(WORK, name + ".png")], check=True)
        items += f'[[items]]\nfile = "{name}.png"\nSizeModeOverride = {mode}\n'
    with open(os.path.join(WORK, "show.toml"), "w", encoding="utf-8") as f:
        f.write('[texts]\nTitle = "E2E Slideshow"\nDefaultEffects = "1-22"\n'
                '[header]\nSeconds = 1\nDisplayOrder = 0\nStretch = 1\nEffectSpeed = 10\n'
                'BackColor1 = "#101830"\nExitMouseMove = false\n' + items)
    subprocess.run([ARGS.pack, "build", "show.toml", "-o", "show.scr", "--template", ARGS.saver],
                   check=True, cwd=WORK, capture_output=True)
    X = XServer()


def tearDownModule():
    if X:
        X.stop()
    shutil.rmtree(WORK, ignore_errors=True)


class Slideshow(unittest.TestCase):
    def test_four_items_follow_one_another_full_screen(self):
        run = Run(X, [os.path.join(WORK, "show.scr"), "/s"], WORK)
        self.addCleanup(run.close)

        def events():
            return [line.split(" ")[1:] for line in run.trace().splitlines()]

        def shown(index):
            """Item index has arrived and its effect, if any, has ended."""
            seen = events()
            for i, e in enumerate(seen):
                if e[:2] == ["item", f"index={index}"]:
                    return e[2] == "effect=0" or ["restart"] in seen[i + 1:]
            return False

        shots = []
        for index in range(len(ITEMS)):
            self.assertTrue(wait_for(lambda: shown(index) or not run.running(), 15),
                            f"item {index} not shown: {run.trace()}")
            if not run.running():
                self.fail(f"ended early: {run.output()[1]}")
            path = os.path.join(ARGS.shots, f"item-{index}.png")
            name, colour, mode = ITEMS[index]
            # The window paints a moment after the trace line; wait for the picture.
            on_screen = []
            wait_for(lambda: on_screen.append(
                (x(X.display, "import", "-window", "root", path), colours_at(path, [(512, 384), (20, 20)]))[1])
                or close_to(on_screen[-1][0], colour), 5, 0.05)
            centre, corner = on_screen[-1]
            self.assertTrue(close_to(centre, colour), f"{name}: centre {centre}")
            # Stretched pictures cover the screen; natural size leaves the background.
            self.assertTrue(close_to(corner, BACKGROUND if mode == 2 else colour), f"{name}: corner {corner}")
            shots.append(centre)
        self.assertGreater(len(set(shots)), 1, "different pictures were shown")

        trace = run.trace()
        self.assertIn("item index=0 effect=0 steps=0", trace, "the first item comes without an effect")
        self.assertIn("timer interval=1000", trace)
        # Every later change draws an effect from 1..22 with speed 10's steps.
        for e in events():
            if e[:1] == ["item"] and e[1] != "index=0":
                effect = int(e[2].split("=")[1])
                self.assertTrue(1 <= effect <= 22, e)
                self.assertEqual(e[3], "steps=4", e)

        run.signal(signal.SIGTERM)
        self.assertTrue(run.wait_end(5))
        self.assertEqual(run.proc.returncode, 0)


if __name__ == "__main__":
    ARGS, argv = arguments()
    unittest.main(argv=argv, verbosity=2)

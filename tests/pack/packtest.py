# Shared helpers of the pictoralia-pack command tests: the programs under test, a
# scratch folder per test, running the builder and the inspector.
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

PACK = None      # the pictoralia-pack executable
TEMPLATE = None  # the pictoralia-saver template, or None when the build has none


def main():
    """Reads --pack and --template, then runs the unittest cases of the caller."""
    global PACK, TEMPLATE
    parser = argparse.ArgumentParser()
    parser.add_argument("--pack", required=True)
    parser.add_argument("--template")
    args, rest = parser.parse_known_args()
    PACK, TEMPLATE = args.pack, args.template
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


# The undefined bytes of Windows-1252 stand for the control characters of their number.
UNDEFINED_1252 = {0x81, 0x8D, 0x8F, 0x90, 0x9D}


def decode_1252(data):
    return "".join(chr(b) if b in UNDEFINED_1252 else bytes([b]).decode("cp1252") for b in data)


class PackTestCase(unittest.TestCase):
    maxDiff = None

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="pack-test-")
        self.addCleanup(shutil.rmtree, self.dir)

    def path(self, *names):
        return os.path.join(self.dir, *names)

    def write(self, name, data):
        path = self.path(name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data.encode() if isinstance(data, str) else data)
        return path

    def read(self, *names):
        with open(self.path(*names), "rb") as f:
            return f.read()

    def template(self):
        """The real template when the build has one, else a stand-in program file."""
        if TEMPLATE:
            return TEMPLATE
        path = self.path("template")
        if not os.path.exists(path):
            self.write("template", b"\x7fELF stand-in template " * 100)
        return path

    def run_pack(self, *args, pack=None):
        return subprocess.run([pack or PACK, *args], capture_output=True, timeout=120)

    def build(self, manifest, output, *extra):
        result = self.run_pack("build", manifest, "-o", output, "--template", self.template(), *extra)
        self.assertEqual(result.returncode, 0, result.stderr.decode(errors="replace"))
        return result

    def inspect(self, saver, extract=None):
        args = ["inspect", saver] + (["--extract", extract] if extract else [])
        result = self.run_pack(*args)
        self.assertEqual(result.returncode, 0, result.stderr.decode(errors="replace"))
        return json.loads(result.stdout.decode("utf-8"))

#!/usr/bin/env python3
# pictoralia-pack build and inspect: every manifest field through the writer and back
# through the run-time's reader, entries extracted byte for byte, the errors an author
# sees, and that a failed build leaves nothing behind.
import os
import random
import shutil
import struct
import subprocess

import packtest
from packtest import PackTestCase


def tiny_bmp():
    """A 2 x 1 24-bit BMP that any picture reader decodes."""
    pixels = b"\x00\x00\xff\x00\xff\x00\x00\x00"  # two pixels and row padding
    header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, 2, 1, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def codes(*numbers):
    return "".join(chr(n) for n in numbers)


# Every key a manifest may set, each away from its default.
FULL_MANIFEST = r'''
[texts]
Title = "Round trip \u00e9\u20ac"
AboutText = "About\r\nline two\t\"quoted\" \\ back"
WebsiteURL = "https://example.org/site"
Reserved4 = "r4"
Reserved5 = "r5"
Reserved6 = "r6"
Reserved7 = "r7"
Reserved8 = "r8"
Reserved9 = "r9"
Reserved10 = "r10"
Reserved11 = "r11 \u0001\u007f"
ExitLinkURL = "https://example.org/exit"
BannerLinkURL = "https://example.org/banner"
ExitBannerLinkURL = "https://example.org/exitbanner"
Reserved15 = "r15"
Reserved16 = "r16 \u201cq\u201d"
DefaultEffects = "1-3, 60, 118-120"
TranslationText = "[Screen Saver]\r\nClose=Schlie\u00dfen"

[header]
Seconds = 42
DisplayOrder = 2
BackColor1 = "#102030"
BackColor2 = 0xFF000005
GradientStyle = 7
BackPictureMode = 1
DesktopBackground = true
RandomColors = true
RandomGradient = true
RepaintBackground = true
Stretch = 5
Loop = false
Mute = true
ShuffleMelody = true
DesktopStart = true
OpeningFirstItem = true
MuteVideo = true
AllowOwnPlaylist = true
PlayOneRandom = true
ExitMouseMove = false
ExitMouseButton = false
ExitKeyboard = false
ExitESC = true
HideGeneralTab = true
HidePositionTab = true
HideEffectsTab = true
HideSoundTab = true
HideBehaviorTab = true
EffectSpeed = 9
LogoPlacement = 6
LogoMarginX = -12
LogoMarginY = 34
LogoTransparentColor = "#00FF80"
AllowRunAsProgram = true

[preview]
file = "media/preview.bmp"
[banner]
file = "media/banner.bin"
[exitBanner]
file = "media/exit.jpg"
[logo]
file = "media/logo.gif"
Ext = ".GIF"
[background]
file = "media/back.bmp"

[[masks]]
file = "media/m0.png"
[[masks]]
file = "media/m1.bmp"
compression = "store"
MaskType = 2

[[enterSounds]]
file = "media/s0.wav"
[[enterSounds]]
file = "media/s1.midi"
compression = "deflate"
Ext = ".MIDI"

[[melodies]]
file = "media/tune.mp3"
[[melodies]]
file = "media/tune2.mid"
compression = "deflate"

[[items]]
file = "media/a.jpg"
CaptionPlacement = 4
CaptionColor = "#FF0000"
CaptionMarginX = -5
CaptionMarginY = 7
CaptionBoxColor = "none"
CaptionFont = "DejaVu Sans"
CaptionStyle = 15
CaptionFontSize = 31
CaptionText = "Caption \u00c4\u00d6\u00dc"
CaptionNoBox = true
CaptionMultiLine = true
CaptionShadow = true
Duration = 12
SizeModeOverride = 4
MaskIndex = 1
EnterSoundIndex = 1
ImageFlags = 7
ItemEffects = [5, "10-11"]
ItemEffectSpeed = 3
[[items]]
file = "media/clip.mpeg"
[[items]]
file = "media/big.avi"
compression = "deflate"
Ext = ".AVI"
[[items]]
file = "media/b.png"
compression = "store"
ItemEffectSpeed = 1
'''

MEDIA = {
    "preview.bmp": b"BM" + bytes(range(256)) * 3,
    "banner.bin": b"banner strip",
    "exit.jpg": b"exit banner " * 50,
    "logo.gif": b"GIF89a logo " * 40,
    "back.bmp": tiny_bmp(),
    "m0.png": b"\x89PNG mask " * 30,
    "m1.bmp": b"BM mask one " * 30,
    "s0.wav": b"RIFF sound " * 20,
    "s1.midi": b"MThd sound " * 20,
    "tune.mp3": b"ID3 melody " * 60,
    "tune2.mid": b"MThd melody " * 60,
    "a.jpg": b"\xff\xd8 picture a " * 100,
    "clip.mpeg": b"\x00\x00\x01\xba clip " * 100,
    "b.png": b"\x89PNG picture b " * 100,
}

ITEM_DEFAULTS = {
    "CaptionPlacement": 0, "CaptionColor": 0, "CaptionMarginX": 0, "CaptionMarginY": 0,
    "CaptionBoxColor": 0, "CaptionFont": "", "CaptionStyle": 0, "CaptionFontSize": 0,
    "CaptionText": "", "CaptionNoBox": 0, "CaptionMultiLine": 0, "CaptionShadow": 0,
    "Duration": 0, "SizeModeOverride": -1, "MaskIndex": -1, "EnterSoundIndex": -1,
    "ImageFlags": 0, "ItemEffects": "", "ItemEffectSpeed": -1,
}

# What the reader must give back: the values as the package stores them.
EXPECTED_HEADER = {
    "Seconds": 42, "DisplayOrder": 2, "BackColor1": 0x302010, "BackColor2": 0xFF000005,
    "GradientStyle": 7, "BackPictureMode": 1, "DesktopBackground": True, "RandomColors": True,
    "RandomGradient": True, "RepaintBackground": True, "Stretch": 5, "Loop": False, "Mute": True,
    "ShuffleMelody": True, "DesktopStart": True, "OpeningFirstItem": True, "MuteVideo": True,
    "AllowOwnPlaylist": True, "PlayOneRandom": True, "ExitMouseMove": False,
    "ExitMouseButton": False, "ExitKeyboard": False, "ExitESC": True, "HideGeneralTab": True,
    "HidePositionTab": True, "HideEffectsTab": True, "HideSoundTab": True, "HideBehaviorTab": True,
    "EffectSpeed": 9, "LogoPlacement": 6, "LogoMarginX": -12, "LogoMarginY": 34,
    "LogoTransparentColor": 0x80FF00, "AllowRunAsProgram": True,
    "BackgroundExt": ".bmp", "ExitBannerExt": ".jpg", "LogoExt": ".GIF", "Reserved34": 0,
}

EXPECTED_TEXTS = {
    "Title": "Round trip \u00e9\u20ac",
    "AboutText": "About\r\nline two\t\"quoted\" \\ back",
    "WebsiteURL": "https://example.org/site",
    **{"Reserved%d" % n: "r%d" % n for n in range(4, 11)},
    "Reserved11": "r11 \u0001\u007f",
    "ExitLinkURL": "https://example.org/exit",
    "BannerLinkURL": "https://example.org/banner",
    "ExitBannerLinkURL": "https://example.org/exitbanner",
    "Reserved15": "r15",
    "Reserved16": "r16 \u201cq\u201d",
    "DefaultEffects": codes(1, 2, 3, 60, 118, 119, 120),
    "TranslationText": "[Screen Saver]\r\nClose=Schlie\u00dfen",
}

EXPECTED_ITEMS = [
    dict(ITEM_DEFAULTS, Ext=".jpg", CaptionPlacement=4, CaptionColor=0x0000FF, CaptionMarginX=-5,
         CaptionMarginY=7, CaptionBoxColor=0x1FFFFFFF, CaptionFont="DejaVu Sans", CaptionStyle=15,
         CaptionFontSize=31, CaptionText="Caption \u00c4\u00d6\u00dc", CaptionNoBox=1,
         CaptionMultiLine=1, CaptionShadow=1, Duration=12, SizeModeOverride=4, MaskIndex=1,
         EnterSoundIndex=1, ImageFlags=7, ItemEffects=codes(5, 10, 11), ItemEffectSpeed=3),
    dict(ITEM_DEFAULTS, Ext=".mpeg"),
    dict(ITEM_DEFAULTS, Ext=".AVI"),
    dict(ITEM_DEFAULTS, Ext=".png", ItemEffectSpeed=1),
]
# File, deflated?, extracted name, for every entry in table order.
ITEM_FILES = [("a.jpg", True, "item-0.jpg"), ("clip.mpeg", False, "item-1.mpeg"),
              ("big.avi", True, "item-2.AVI"), ("b.png", False, "item-3.png")]
MASK_FILES = [("m0.png", True, "mask-0", 1), ("m1.bmp", False, "mask-1", 2)]
SOUND_FILES = [("s0.wav", False, "enter-0.wav", ".wav"), ("s1.midi", True, "enter-1.MIDI", ".MIDI")]
MELODY_FILES = [("tune.mp3", False, "melody-0.mp3", ".mp3"), ("tune2.mid", True, "melody-1.mid", ".mid")]
AREA_FILES = [("preview.bmp", "preview.bmp"), ("logo.gif", "logo.GIF"), ("back.bmp", "background.bmp"),
              ("exit.jpg", "exitbanner.jpg")]

LAYOUT_HEADER_FIELDS = {
    "PackageSize", "FileSizeSlot", "ItemCount", "MelodyEntryCount", "MaskCount", "ItemTableSize",
    "BackgroundPackedSize", "BackgroundSize", "MaskTableSize", "PreviewPictureSize",
    "MelodyTableSize", "BannerAreaSize", "ItemDataSize", "ExitBannerPackedSize", "ExitBannerSize",
    "LogoSize", "LogoPackedSize", "EnterSoundTableSize", "EnterSoundCount",
}


class RoundTrip(PackTestCase):
    def setUp(self):
        super().setUp()
        for name, data in MEDIA.items():
            self.write("show/media/" + name, data)
        # Larger than the 512 KiB copy block, not a multiple of it, and incompressible.
        self.big = random.Random(7).randbytes(3 * 524288 + 1234)
        self.write("show/media/big.avi", self.big)
        self.manifest = self.write("show/show.toml", FULL_MANIFEST)
        self.saver = self.path("out", "show.scr")
        os.makedirs(self.path("out"))
        self.build(self.manifest, self.saver)
        self.package = self.inspect(self.saver, extract=self.path("extracted"))

    def media(self, name):
        return self.big if name == "big.avi" else MEDIA[name]

    def test_every_field_reads_back(self):
        p = self.package
        header = p["header"]
        self.assertEqual({k: header[k] for k in EXPECTED_HEADER}, EXPECTED_HEADER)
        # Every other header field is one the writer computes: a new field is either
        # settable (and then listed above) or layout.
        self.assertEqual(set(header) - set(EXPECTED_HEADER), LAYOUT_HEADER_FIELDS)
        self.assertEqual(p["texts"], EXPECTED_TEXTS)
        self.assertEqual([{k: v for k, v in item.items() if k in EXPECTED_ITEMS[0]}
                          for item in p["items"]], EXPECTED_ITEMS)
        self.assertEqual([m["MaskType"] for m in p["masks"]], [t for *_, t in MASK_FILES])
        self.assertEqual([s["Ext"] for s in p["enterSounds"]], [e for *_, e in SOUND_FILES])
        self.assertEqual([m["Ext"] for m in p["melodies"]], [e for *_, e in MELODY_FILES])

    def test_layout_fields_describe_the_files(self):
        p = self.package
        header = p["header"]
        size = os.path.getsize(self.saver)
        self.assertEqual(header["FileSizeSlot"], size)
        self.assertEqual(p["packageStart"], os.path.getsize(self.template()))
        self.assertEqual(header["PackageSize"], size - p["packageStart"])
        self.assertEqual((header["ItemCount"], header["MaskCount"], header["EnterSoundCount"],
                          header["MelodyEntryCount"]), (4, 2, 2, 2))
        self.assertEqual(header["ItemTableSize"], 4 * 840)
        self.assertEqual(header["MaskTableSize"], 2 * 16)
        self.assertEqual(header["EnterSoundTableSize"], 2 * 20)
        self.assertEqual(header["PreviewPictureSize"], len(MEDIA["preview.bmp"]))
        self.assertEqual(header["BannerAreaSize"], len(MEDIA["banner.bin"]))
        for field, name in (("ExitBanner", "exit.jpg"), ("Logo", "logo.gif"), ("Background", "back.bmp")):
            self.assertEqual(header[field + "Size"], len(MEDIA[name]), field)
            self.assertGreater(header[field + "PackedSize"], 0, field)  # always deflated
        tables = [(p["items"], ITEM_FILES), (p["masks"], MASK_FILES), (p["enterSounds"], SOUND_FILES),
                  (p["melodies"], MELODY_FILES)]
        for records, files in tables:
            for record, (name, deflated, *_) in zip(records, files):
                self.assertEqual(record["Size"], len(self.media(name)), name)
                self.assertEqual(record["PackedSize"] > 0, deflated, name)

    def test_extracted_entries_are_byte_identical(self):
        expected = {extracted: self.media(name)
                    for name, _, extracted, *_ in ITEM_FILES + MASK_FILES + SOUND_FILES + MELODY_FILES}
        expected.update({extracted: MEDIA[name] for name, extracted in AREA_FILES})
        self.assertEqual(sorted(os.listdir(self.path("extracted"))), sorted(expected))
        for extracted, data in expected.items():
            self.assertEqual(self.read("extracted", extracted), data, extracted)

    def test_output_is_the_template_followed_by_the_package(self):
        self.assertTrue(os.stat(self.saver).st_mode & 0o111, "not executable")
        with open(self.template(), "rb") as f:
            template = f.read()
        self.assertEqual(self.read("out", "show.scr")[:len(template)], template)
        self.assertEqual(self.read("out", "show.scr")[-10:], b"Pictoralia")


class Defaults(PackTestCase):
    def test_a_fresh_screen_saver(self):
        self.write("p.png", b"picture")
        manifest = self.write("m.toml", '[texts]\nTitle = "T"\n[[items]]\nfile = "p.png"\n')
        self.build(manifest, self.path("s.scr"))
        p = self.inspect(self.path("s.scr"))
        h = p["header"]
        self.assertEqual((h["Seconds"], h["EffectSpeed"], h["DisplayOrder"], h["Stretch"]), (5, 4, 0, 0))
        self.assertEqual((h["ExitMouseMove"], h["ExitMouseButton"], h["ExitKeyboard"], h["ExitESC"]),
                         (True, True, True, False))
        self.assertTrue(h["Loop"])
        self.assertEqual(p["texts"]["DefaultEffects"], codes(*range(1, 121)))
        self.assertEqual((p["masks"], p["enterSounds"], p["melodies"]), ([], [], []))
        self.assertEqual(p["items"][0]["SizeModeOverride"], -1)

    def test_template_beside_the_builder(self):
        # A copy of the builder in a folder of its own, with and without a
        # pictoralia-saver beside it.
        alone = self.path("bin", "pictoralia-pack")
        os.makedirs(self.path("bin"))
        shutil.copy(packtest.PACK, alone)
        self.write("p.png", b"picture")
        manifest = self.write("m.toml", '[texts]\nTitle = "T"\n[[items]]\nfile = "p.png"\n')
        result = self.run_pack("build", manifest, "-o", self.path("s.scr"), pack=alone)
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"template " + self.path("bin", "pictoralia-saver").encode(), result.stderr)
        self.assertFalse(os.path.exists(self.path("s.scr")))

        self.write("bin/pictoralia-saver", b"the template beside the builder")
        result = self.run_pack("build", manifest, "-o", self.path("s.scr"), pack=alone)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(self.read("s.scr").startswith(b"the template beside the builder"))


class Errors(PackTestCase):
    CASES = [
        # manifest after the Title lines, what stderr starts with (after "<manifest>:")
        ('[[items]]\nfile = "gone.jpg"\n', "4:8: items[0].file: no such file"),
        ('[header]\nEffectSpeed = 11\n', "4:15: header.EffectSpeed: 11 is outside 1..10"),
        ('[header]\nSeconds = "five"\n', "4:11: header.Seconds: expects an integer"),
        ('[[items]]\nfile = "p.png"\nMirror = true\n', '5:1: items[0]: unknown key "Mirror"'),
        ('[[items]]\nfile = "p.png"\nDuration = 1.5\n', "5:12: items[0].Duration: expects an integer"),
        ('[logo\n', "3:"),  # TOML syntax
    ]

    def setUp(self):
        super().setUp()
        self.write("p.png", b"picture")

    def attempt(self, manifest_text, output):
        manifest = self.write("m.toml", '[texts]\nTitle = "T"\n' + manifest_text)
        return manifest, self.run_pack("build", manifest, "-o", output, "--template", self.template())

    def test_manifest_errors_name_the_line_and_write_nothing(self):
        for text, message in self.CASES:
            with self.subTest(message):
                output = self.path("out", "s.scr")
                os.makedirs(self.path("out"), exist_ok=True)
                manifest, result = self.attempt(text, output)
                self.assertEqual(result.returncode, 1)
                self.assertTrue(result.stderr.decode().startswith(manifest + ":" + message),
                                result.stderr.decode())
                self.assertEqual(os.listdir(self.path("out")), [])

    def test_a_failed_build_keeps_the_previous_output(self):
        output = self.write("out/s.scr", b"previous saver")
        for text in ('[[items]]\nfile = "gone.jpg"\n', '[[items]]\nfile = "p.png"\n'):
            template = self.path("no-such-template")
            manifest = self.write("m.toml", '[texts]\nTitle = "T"\n' + text)
            result = self.run_pack("build", manifest, "-o", output, "--template", template)
            self.assertEqual(result.returncode, 1)
            self.assertEqual(os.listdir(self.path("out")), ["s.scr"])
            self.assertEqual(self.read("out", "s.scr"), b"previous saver")

    def test_file_without_package(self):
        plain = self.write("plain", b"no package here" * 10)
        for path in (plain, self.path("missing")):
            result = self.run_pack("inspect", path)
            self.assertEqual(result.returncode, 1)
            self.assertEqual(result.stdout, b"")
            self.assertTrue(result.stderr.startswith(
                b"The screen saver can not run because of one of the following reasons:\r\n\r\n"
                b"* The file is corrupted\r\n* Your computer is out of resources\r\n* Windows error\n"),
                result.stderr)

    def test_usage_errors(self):
        for args in (["build", "m.toml"], ["inspect"], ["pack", "x"], ["inspect", "x", "--extract"],
                     ["build", "m.toml", "-o", "x", "--extract", "d"]):
            self.assertEqual(self.run_pack(*args).returncode, 2, args)


class Progress(PackTestCase):
    def test_large_inputs_report_progress(self):
        self.write("big.mpeg", random.Random(3).randbytes(17 << 20))
        manifest = self.write("m.toml", '[texts]\nTitle = "T"\n[[items]]\nfile = "big.mpeg"\n')
        template = self.write("small-template", b"template")
        result = self.run_pack("build", manifest, "-o", self.path("s.scr"), "--template", template)
        self.assertEqual(result.returncode, 0, result.stderr)
        # Not a terminal: one line as each tenth is passed (the entry is copied in blocks
        # of 3% of it).
        lines = result.stderr.decode().splitlines()
        self.assertEqual(len(lines), 10, lines)
        for tenth, line in enumerate(lines, start=1):
            percent = int(line.split(":")[-1].split("%")[0])
            self.assertTrue(10 * tenth <= percent < 10 * tenth + 10, line)
            self.assertTrue(line.endswith("% of 17 MiB"), line)
        self.assertIn("100%", lines[-1])
        self.write("small.mpeg", b"small")
        manifest = self.write("m.toml", '[texts]\nTitle = "T"\n[[items]]\nfile = "small.mpeg"\n')
        result = self.run_pack("build", manifest, "-o", self.path("s.scr"), "--template", template)
        self.assertEqual((result.returncode, result.stderr), (0, b""))


if __name__ == "__main__":
    packtest.main()

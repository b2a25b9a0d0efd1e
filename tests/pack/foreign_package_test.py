#!/usr/bin/env python3
# A package written here byte by byte from the package format's tables, with none of
# our own code, appended to the template: pictoralia-pack inspect must read it back
# field for field and extract its entries byte for byte. The layout differs from our
# writer's on purpose: unused bytes between entries, reserved bytes that are not zero,
# tables longer than their records, a melody at offset 0 of its area.
import os
import random
import struct
import zlib

import packtest
from packtest import PackTestCase, decode_1252

# (offset, struct format, field) straight from the layout tables. "flag" is one byte,
# any value but 0 being true; "chars" is char[5] that ends at the first zero byte;
# ("short", n) is a length byte and characters in an n-byte field.
HEADER = [
    (0x00, "<i", "PackageSize"), (0x04, "<i", "FileSizeSlot"), (0x08, "<i", "ItemCount"),
    (0x0C, "<i", "MelodyEntryCount"), (0x10, "<i", "MaskCount"), (0x14, "<i", "Seconds"),
    (0x18, "<i", "DisplayOrder"), (0x1C, "<i", "ItemTableSize"), (0x20, "<i", "BackgroundPackedSize"),
    (0x24, "<i", "BackgroundSize"), (0x28, "<i", "MaskTableSize"), (0x2C, "<i", "PreviewPictureSize"),
    (0x30, "<i", "MelodyTableSize"), (0x34, "<i", "Reserved34"), (0x38, "<i", "BannerAreaSize"),
    (0x3C, "<i", "ItemDataSize"), (0x40, "<i", "ExitBannerPackedSize"), (0x44, "<i", "ExitBannerSize"),
    (0x48, "<i", "LogoSize"), (0x4C, "<i", "LogoPackedSize"), (0x50, "<i", "EnterSoundTableSize"),
    (0x54, "<i", "EnterSoundCount"), (0x58, "<I", "BackColor1"), (0x5C, "<I", "BackColor2"),
    (0x60, "<i", "GradientStyle"), (0x64, "<i", "BackPictureMode"), (0x68, "flag", "DesktopBackground"),
    (0x69, "flag", "RandomColors"), (0x6A, "flag", "RandomGradient"), (0x6B, "flag", "RepaintBackground"),
    (0x6C, "<i", "Stretch"), (0x70, "flag", "Loop"), (0x71, "flag", "Mute"), (0x72, "flag", "ShuffleMelody"),
    (0x73, "flag", "DesktopStart"), (0x74, "flag", "OpeningFirstItem"), (0x75, "flag", "MuteVideo"),
    (0x76, "flag", "AllowOwnPlaylist"), (0x77, "flag", "PlayOneRandom"), (0x78, "flag", "ExitMouseMove"),
    (0x79, "flag", "ExitMouseButton"), (0x7A, "flag", "ExitKeyboard"), (0x7B, "flag", "ExitESC"),
    (0x7C, "flag", "HideGeneralTab"), (0x7D, "flag", "HidePositionTab"), (0x7E, "flag", "HideEffectsTab"),
    (0x7F, "flag", "HideSoundTab"), (0x80, "flag", "HideBehaviorTab"), (0x84, "<i", "EffectSpeed"),
    (0x88, "chars", "BackgroundExt"), (0x8D, "chars", "ExitBannerExt"), (0x92, "chars", "LogoExt"),
    (0xC8, "<i", "LogoPlacement"), (0xCC, "<i", "LogoMarginX"), (0xD0, "<i", "LogoMarginY"),
    (0xD4, "<I", "LogoTransparentColor"), (0xD8, "flag", "AllowRunAsProgram"),
]
ITEM = [
    (0x000, "<i", "DataOffset"), (0x004, "<i", "Size"), (0x008, "<i", "PackedSize"),
    (0x00C, "chars", "Ext"), (0x014, "<i", "CaptionPlacement"), (0x018, "<I", "CaptionColor"),
    (0x01C, "<i", "CaptionMarginX"), (0x020, "<i", "CaptionMarginY"), (0x024, "<I", "CaptionBoxColor"),
    (0x028, ("short", 252), "CaptionFont"), (0x124, "<i", "CaptionStyle"), (0x128, "<i", "CaptionFontSize"),
    (0x12C, ("short", 252), "CaptionText"), (0x228, "<i", "CaptionNoBox"), (0x22C, "<i", "CaptionMultiLine"),
    (0x230, "<i", "CaptionShadow"), (0x234, "<i", "Duration"), (0x238, "<i", "SizeModeOverride"),
    (0x23C, "<i", "MaskIndex"), (0x240, "<i", "EnterSoundIndex"), (0x244, "<i", "ImageFlags"),
    (0x248, ("short", 252), "ItemEffects"), (0x344, "<i", "ItemEffectSpeed"),
]
MASK = [(0x00, "<i", "DataOffset"), (0x04, "<i", "Size"), (0x08, "<i", "PackedSize"), (0x0C, "<B", "MaskType")]
ENTER_SOUND = [(0x00, "<i", "DataOffset"), (0x04, "<i", "Size"), (0x08, "<i", "PackedSize"),
               (0x0C, ("short", 8), "Ext")]
SIZES = {"header": 220, "item": 840, "mask": 16, "sound": 20}
TEXT_NAMES = (["Title", "AboutText", "WebsiteURL"] + ["Reserved%d" % n for n in range(4, 12)] +
              ["ExitLinkURL", "BannerLinkURL", "ExitBannerLinkURL", "Reserved15", "Reserved16",
               "DefaultEffects", "TranslationText"])
FILL = 0xEE  # reserved bytes and the bytes after a string's end


def encode(layout, size, values):
    """A record of `size` bytes: values[field] is a number, a bool (flags) or bytes
    (strings, written with what follows their end)."""
    out = bytearray([FILL]) * size
    for offset, form, name in layout:
        value = values[name]
        if form == "flag":
            out[offset] = value
        elif form == "chars":
            assert len(value) == 5, (name, value)
            out[offset:offset + 5] = value
        elif isinstance(form, tuple):
            assert len(value) == form[1], (name, value)
            out[offset:offset + form[1]] = value
        else:
            out[offset:offset + struct.calcsize(form)] = struct.pack(form, value)
    return bytes(out)


def expected(layout, values):
    """What the reader must give for the record: strings end as the format says."""
    result = {}
    for _, form, name in layout:
        value = values[name]
        if form == "flag":
            result[name] = value != 0
        elif form == "chars":
            result[name] = decode_1252(value.split(b"\0")[0][:5])
        elif isinstance(form, tuple):
            result[name] = decode_1252(value[1:1 + value[0]])
        else:
            result[name] = value
    return result


def short(text, width, tail=b"garbage after the end"):
    """A short string of `width` bytes: length, characters, then unrelated bytes."""
    data = bytes([len(text)]) + text + tail
    return (data + bytes([FILL]) * width)[:width]


def item_values(**fields):
    values = {name: 0 for _, _, name in ITEM}
    values.update(Ext=b".JPG\0", CaptionFont=short(b"", 252), CaptionText=short(b"", 252),
                  ItemEffects=short(b"", 252), SizeModeOverride=-1, MaskIndex=-1,
                  EnterSoundIndex=-1, ItemEffectSpeed=-1)
    values.update(fields)
    return values


class ForeignPackage(PackTestCase):
    def write_saver(self, areas, header, texts):
        """Template, areas 1..10, texts, header, signature; fills the lengths and sizes."""
        with open(self.template(), "rb") as f:
            template = f.read()
        body = b"".join(areas)
        text_bytes = b"".join(struct.pack("<H", len(t)) + t for t in texts)
        header["PackageSize"] = len(body) + len(text_bytes) + 230
        header["FileSizeSlot"] = 0x7B7B7B7B  # not interpreted: the reader puts the length in
        data = template + body + text_bytes + encode(HEADER, 220, header) + b"Pictoralia"
        path = self.write("foreign.scr", data)
        return path, len(template), len(data)

    def test_reads_back_field_for_field_and_extracts_byte_for_byte(self):
        rnd = random.Random(11)
        picture = rnd.randbytes(3000)
        clip = rnd.randbytes(2 * 524288 + 4321)  # stored: several copy blocks
        gif = b"GIF89a" + bytes(range(256)) * 40
        mask_png = b"\x89PNG mask " * 50
        mask_bmp = b"BM stored mask"
        chime = b"RIFF chime " * 30
        preview = b"BM" + rnd.randbytes(500)
        exit_banner, logo, background = b"exit banner" * 20, b"logo!" * 30, b"background" * 40
        melody = b"MThd melody " * 25

        # Area 1: unused bytes, then entries in an order of our own choosing.
        area1 = bytearray(b"unused lead-in")
        def put(data):
            area1.extend(data)
            return len(area1) - len(data)
        mask0 = put(zlib.compress(mask_png))
        item1 = put(clip)
        area1.extend(b"gap")
        picture_packed = zlib.compress(picture)
        item0 = put(picture_packed)
        sound0 = put(chime)
        gif_packed = zlib.compress(gif, 9)
        item2 = put(gif_packed)
        mask1 = put(mask_bmp)
        item3 = put(b"odd extension")

        items = [
            # Deflated, with a Size below the inflated length: only Size bytes come out.
            item_values(DataOffset=item0, Size=1000, PackedSize=len(picture_packed), Ext=b".JPG\0",
                        CaptionPlacement=5, CaptionColor=0x00112233, CaptionMarginX=-3, CaptionMarginY=9,
                        CaptionBoxColor=0xFF00000F, CaptionFont=short(b"DejaVu Sans", 252),
                        CaptionStyle=6, CaptionFontSize=28, CaptionText=short(b"Caf\xe9 \x80 \x93q\x94", 252),
                        CaptionNoBox=1, CaptionMultiLine=2, CaptionShadow=-1, Duration=15,
                        SizeModeOverride=3, MaskIndex=1, EnterSoundIndex=0, ImageFlags=0x105,
                        ItemEffects=short(bytes([1, 7, 120]), 252), ItemEffectSpeed=6),
            # Five characters, no zero byte: the extension ends after the fifth.
            item_values(DataOffset=item1, Size=len(clip), Ext=b".MPEG", Duration=-4,
                        CaptionText=short(b"x" * 251, 252, b"")),
            item_values(DataOffset=item2, Size=len(gif), PackedSize=len(gif_packed), Ext=b".GIF\0",
                        MaskIndex=0),
            # An extension that is a path: shown as it is, never used as one.
            item_values(DataOffset=item3, Size=13, Ext=b"/../x"),
        ]
        masks = [{"DataOffset": mask0, "Size": len(mask_png), "PackedSize": len(zlib.compress(mask_png)),
                  "MaskType": 1},
                 {"DataOffset": mask1, "Size": len(mask_bmp), "PackedSize": 0, "MaskType": 7}]
        sounds = [{"DataOffset": sound0, "Size": len(chime), "PackedSize": 0, "Ext": short(b".wav", 8)}]

        # Area 10: the table, then one melody's data; the other melody is the first
        # bytes of the area itself (its DataOffset is 0).
        melody_packed = zlib.compress(melody)
        # ".au", then a zero byte and a stray character that is not part of it.
        melodies = [item_values(DataOffset=0, Size=840, Ext=b".au\0Z"),
                    item_values(DataOffset=2 * 840 + 5, Size=len(melody), PackedSize=len(melody_packed),
                                Ext=b".mp3\0")]
        melody_table = b"".join(encode(ITEM, 840, m) for m in melodies)
        area10 = melody_table + b"pad!!" + melody_packed

        item_table = b"".join(encode(ITEM, 840, i) for i in items) + b"seventeen extra b"
        mask_table = b"".join(encode(MASK, 16, m) for m in masks)
        sound_table = b"".join(encode(ENTER_SOUND, 20, s) for s in sounds) + b"xyz"
        banner = b"banner area, not decoded"
        areas = [bytes(area1), preview, banner, zlib.compress(exit_banner), zlib.compress(logo),
                 item_table, mask_table, sound_table, zlib.compress(background), area10]

        header = {name: 0 for _, _, name in HEADER}
        header.update(
            ItemCount=len(items), MelodyEntryCount=len(melodies), MaskCount=len(masks), Seconds=33,
            DisplayOrder=1, ItemTableSize=len(item_table), BackgroundPackedSize=len(areas[8]),
            BackgroundSize=len(background), MaskTableSize=len(mask_table), PreviewPictureSize=len(preview),
            MelodyTableSize=len(area10), Reserved34=0x01020304, BannerAreaSize=len(banner),
            ItemDataSize=len(area1), ExitBannerPackedSize=len(areas[3]), ExitBannerSize=len(exit_banner),
            LogoSize=len(logo), LogoPackedSize=len(areas[4]), EnterSoundTableSize=len(sound_table),
            EnterSoundCount=len(sounds), BackColor1=0x00332211, BackColor2=0x00FFEEDD, GradientStyle=8,
            BackPictureMode=2, DesktopBackground=0xFF, RandomColors=0, RandomGradient=1,
            RepaintBackground=2, Stretch=4, Loop=0, Mute=1, ShuffleMelody=0x80, DesktopStart=0,
            OpeningFirstItem=1, MuteVideo=1, AllowOwnPlaylist=0, PlayOneRandom=1, ExitMouseMove=0,
            ExitMouseButton=1, ExitKeyboard=0, ExitESC=1, HideGeneralTab=1, HidePositionTab=0,
            HideEffectsTab=1, HideSoundTab=0, HideBehaviorTab=1, EffectSpeed=10,
            BackgroundExt=b".tiff", ExitBannerExt=b".png\0", LogoExt=b".BMP\0", LogoPlacement=3,
            LogoMarginX=-7, LogoMarginY=70000, LogoTransparentColor=0x1FFFFFFF, AllowRunAsProgram=1)

        texts = [b"Foreign \x80\x81\x9f \xe9 \"q\" \\ \x01\t\n", b"", b"https://example.org/"] + \
                [b"reserved %d" % n for n in range(4, 12)] + \
                [b"exit", b"banner", b"exit banner", b"", b"\x7f\xff", bytes(range(1, 121)),
                 bytes(rnd.randrange(256) for _ in range(65535))]

        saver, template_length, file_length = self.write_saver(areas, header, texts)
        package = self.inspect(saver, extract=self.path("out"))

        want_header = expected(HEADER, header)
        want_header["FileSizeSlot"] = file_length
        self.assertEqual(package["packageStart"], template_length)
        self.assertEqual(package["header"], want_header)
        self.assertEqual(package["items"], [expected(ITEM, i) for i in items])
        self.assertEqual(package["masks"], [expected(MASK, m) for m in masks])
        self.assertEqual(package["enterSounds"], [expected(ENTER_SOUND, s) for s in sounds])
        self.assertEqual(package["melodies"], [expected(ITEM, m) for m in melodies])
        self.assertEqual(package["texts"], {n: decode_1252(t) for n, t in zip(TEXT_NAMES, texts)})
        self.assertEqual(package["items"][1]["Ext"], ".MPEG")
        self.assertEqual(package["melodies"][0]["Ext"], ".au")

        files = {
            "item-0.JPG": picture[:1000], "item-1.MPEG": clip, "item-2.GIF": gif,
            "item-3.invalid": b"odd extension", "mask-0": mask_png, "mask-1": mask_bmp,
            "enter-0.wav": chime, "melody-0.au": melody_table[:840], "melody-1.mp3": melody,
            "preview.bmp": preview, "logo.BMP": logo, "background.tiff": background,
            "exitbanner.png": exit_banner,
        }
        self.assertEqual(sorted(os.listdir(self.path("out"))), sorted(files))
        for name, data in files.items():
            self.assertEqual(self.read("out", name), data, name)

    def test_empty_package(self):
        header = {name: 0 for _, _, name in HEADER}
        header.update(BackgroundExt=b"\0" * 5, ExitBannerExt=b"\0" * 5, LogoExt=b"\0" * 5)
        saver, template_length, _ = self.write_saver([], header, [b""] * 18)
        package = self.inspect(saver, extract=self.path("out"))
        self.assertEqual(package["packageStart"], template_length)
        for table in ("items", "masks", "enterSounds", "melodies"):
            self.assertEqual(package[table], [], table)
        self.assertEqual(package["texts"], {n: "" for n in TEXT_NAMES})
        self.assertEqual(os.listdir(self.path("out")), [])


if __name__ == "__main__":
    packtest.main()

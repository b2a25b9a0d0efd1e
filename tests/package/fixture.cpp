// Package test helpers.
#include "fixture.h"

#include "package/fields.h"

#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace pictoralia::test {

ScratchDir::ScratchDir()
{
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/package-test-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

Bytes ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

bool Exists(const std::string &path)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

Bytes Pseudorandom(size_t size, uint32_t seed)
{
    Bytes b(size);
    uint32_t x = seed * 2654435761u + 1;
    for (auto &v : b) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        v = uint8_t(x);
    }
    return b;
}

Bytes Deflate(const Bytes &plain)
{
    uLongf length = compressBound(uLong(plain.size()));
    Bytes out(length);
    if (compress(out.data(), &length, plain.data(), uLong(plain.size())) != Z_OK)
        throw std::runtime_error("compress failed");
    out.resize(length);
    return out;
}

Bytes TemplateBytes()
{
    Bytes b = Pseudorandom(4096, 99);
    b[0] = 0x7F, b[1] = 'E', b[2] = 'L', b[3] = 'F';
    return b;
}

FullContent MakeFullContent()
{
    FullContent c;
    for (int i = 0; i < 3; ++i)
        c.Items[i] = Pseudorandom(1000 + 700 * i, 10 + i);
    c.Items[2] = Bytes(30000, 'z'); // compresses well
    for (int i = 0; i < 2; ++i) {
        c.Masks[i] = Pseudorandom(300 + i, 20 + i);
        c.EnterSounds[i] = Pseudorandom(500 + i, 30 + i);
        c.Melodies[i] = Pseudorandom(2000 + i, 40 + i);
    }
    c.Preview = Pseudorandom(777, 50);
    c.Banner = Pseudorandom(123, 51);
    c.ExitBanner = Pseudorandom(900, 52);
    c.Logo = Bytes(5000, 'L');
    c.Background = Pseudorandom(1500, 54);
    return c;
}

PackageWriter FullWriter(const FullContent &c)
{
    PackageWriter w;
    PackageHeader &h = w.Header;
    h.Seconds = 12;
    h.DisplayOrder = 2;
    h.Reserved34 = 0x3434;
    h.BackColor1 = 0x00112233;
    h.BackColor2 = 0xFF00000F;
    h.GradientStyle = 7;
    h.BackPictureMode = 3;
    h.DesktopBackground = h.RandomColors = h.RandomGradient = h.RepaintBackground = true;
    h.Stretch = 5;
    h.Loop = false;
    h.Mute = h.ShuffleMelody = h.DesktopStart = h.OpeningFirstItem = h.MuteVideo = true;
    h.AllowOwnPlaylist = h.PlayOneRandom = true;
    h.ExitMouseMove = h.ExitMouseButton = h.ExitKeyboard = false;
    h.ExitESC = true;
    h.HideGeneralTab = h.HidePositionTab = h.HideEffectsTab = h.HideSoundTab = h.HideBehaviorTab = true;
    h.EffectSpeed = 10;
    h.BackgroundExt = ".JPEG";
    h.ExitBannerExt = ".gif";
    h.LogoExt = ".png";
    h.LogoPlacement = 6;
    h.LogoMarginX = -3;
    h.LogoMarginY = 44;
    h.LogoTransparentColor = 0x00FF00FF;
    h.AllowRunAsProgram = true;

    for (int i = 0; i < PackageTextCount; ++i)
        TextAt(w.Texts, i) = std::string(size_t(i * 3), char(0x80 + i));
    w.Texts.AboutText.clear();                   // length 0
    w.Texts.TranslationText.assign(65535, '\xE9'); // the longest text

    for (int i = 0; i < 3; ++i) {
        ItemRecord r;
        r.Ext = i == 0 ? ".JPG" : i == 1 ? ".MPEG" : ".gif";
        r.CaptionPlacement = i + 1;
        r.CaptionColor = 0x00ABCDEF + uint32_t(i);
        r.CaptionMarginX = -10 - i;
        r.CaptionMarginY = 20 + i;
        r.CaptionBoxColor = ColorNone;
        r.CaptionFont = i == 0 ? std::string(251, 'F') : "DejaVu Sans";
        r.CaptionStyle = 15;
        r.CaptionFontSize = 18;
        r.CaptionText = "Caption \xE4 " + std::to_string(i);
        r.CaptionNoBox = 1;
        r.CaptionMultiLine = 2;
        r.CaptionShadow = 3;
        r.Duration = 9 - i;
        r.SizeModeOverride = i - 1;
        r.MaskIndex = i == 2 ? -1 : i;
        r.EnterSoundIndex = i == 2 ? -1 : 1 - i;
        r.ImageFlags = 7;
        r.ItemEffects = std::string("\x01\x02\x78", 3);
        r.ItemEffectSpeed = i == 0 ? -1 : 6;
        w.AddItem(r, EntrySource::Memory(c.Items[i], i == 1 ? Storage::Store : Storage::Deflate));
    }
    for (int i = 0; i < 2; ++i) {
        w.AddMask({.MaskType = uint8_t(i)}, EntrySource::Memory(c.Masks[i], i ? Storage::Store : Storage::Deflate));
        w.AddEnterSound({.Ext = i ? ".WAV" : ".mp3"},
                        EntrySource::Memory(c.EnterSounds[i], i ? Storage::Deflate : Storage::Store));
        ItemRecord m;
        m.Ext = i ? ".MID" : ".mp3";
        w.AddMelody(m, EntrySource::Memory(c.Melodies[i], i ? Storage::Deflate : Storage::Store));
    }
    w.SetPreviewPicture(EntrySource::Memory(c.Preview, Storage::Deflate)); // always stored
    w.SetBannerArea(EntrySource::Memory(c.Banner));
    w.SetExitBanner(EntrySource::Memory(c.ExitBanner)); // always deflated
    w.SetLogo(EntrySource::Memory(c.Logo));
    w.SetBackground(EntrySource::Memory(c.Background));
    return w;
}

} // namespace pictoralia::test

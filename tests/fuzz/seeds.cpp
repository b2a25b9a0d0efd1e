// Writes the fuzz seed corpus into the folder named by its argument: small packages
// made by the package writer, from empty to one with every kind of entry.
#include "package/writer.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace pictoralia;

namespace {

std::vector<uint8_t> Pattern(size_t n, uint8_t seed)
{
    std::vector<uint8_t> b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t((i * 31 + seed) ^ (i >> 3));
    return b;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::string tpl = folder + "/.template";
    std::ofstream(tpl, std::ios::binary) << "\x7F" "ELF template";

    std::vector<PackageWriter> seeds(3);
    seeds[1].Texts.Title = "One item";
    seeds[1].AddItem({.Ext = ".JPG"}, EntrySource::Memory(Pattern(300, 1), Storage::Deflate));
    seeds[1].AddMelody({.Ext = ".mid"}, EntrySource::Memory(Pattern(100, 2)));

    PackageWriter &full = seeds[2];
    full.Texts.Title = "Everything";
    full.Texts.TranslationText = "[Screen Saver]\r\nClose=Fermer\r\n";
    full.Header.LogoExt = ".png";
    full.Header.BackgroundExt = ".bmp";
    full.Header.ExitBannerExt = ".gif";
    ItemRecord caption{.Ext = ".gif"};
    caption.CaptionText = "Caption";
    caption.MaskIndex = 0;
    caption.EnterSoundIndex = 1;
    full.AddItem(caption, EntrySource::Memory(Pattern(200, 3), Storage::Deflate));
    full.AddItem({.Ext = ".MPEG"}, EntrySource::Memory(Pattern(150, 4)));
    full.AddMask({.MaskType = 1}, EntrySource::Memory(Pattern(64, 5), Storage::Deflate));
    full.AddEnterSound({.Ext = ".wav"}, EntrySource::Memory(Pattern(80, 6)));
    full.AddEnterSound({.Ext = ".mp3"}, EntrySource::Memory(Pattern(90, 7), Storage::Deflate));
    full.AddMelody({.Ext = ".mp3"}, EntrySource::Memory(Pattern(120, 8), Storage::Deflate));
    full.SetPreviewPicture(EntrySource::Memory(Pattern(50, 9)));
    full.SetBannerArea(EntrySource::Memory(Pattern(20, 10)));
    full.SetExitBanner(EntrySource::Memory(Pattern(70, 11)));
    full.SetLogo(EntrySource::Memory(Pattern(60, 12)));
    full.SetBackground(EntrySource::Memory(Pattern(40, 13)));

    for (size_t i = 0; i < seeds.size(); ++i) {
        const Status s = seeds[i].Write(tpl, folder + "/seed-" + std::to_string(i));
        if (!s.Ok()) {
            std::fprintf(stderr, "seed %zu: %s\n", i, s.Error.c_str());
            return 1;
        }
    }
    std::remove(tpl.c_str());
    return 0;
}

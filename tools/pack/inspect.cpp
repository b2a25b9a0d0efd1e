// pictoralia-pack inspect: a saver's package as JSON, read by the run-time's reader,
// and its entries extracted by the run-time's extractor.
#include "commands.h"

#include "json.h"
#include "package/entries.h"
#include "package/extract.h"
#include "package/packageerror.h"
#include "package/reader.h"
#include "package/tempfiles.h"

#include <cstdio>
#include <filesystem>

namespace pictoralia::pack {

namespace {

// Extracts every entry into folder; false when any extraction failed.
bool ExtractAll(const Package &p, const std::filesystem::path &folder)
{
    bool ok = true;
    const auto extract = [&](const std::string &name, const EntryLocation &where) {
        const Status s = ExtractEntry(p.ExeName, (folder / name).string(), where);
        if (!s.Ok()) {
            std::fprintf(stderr, "pictoralia-pack: %s: %s\n", name.c_str(), s.Error.c_str());
            ok = false;
        }
    };
    // Extensions come from the package: only known ones become part of a file name.
    for (size_t i = 0; i < p.Items.size(); ++i)
        extract("item-" + std::to_string(i) + SafeExtension(p.Items[i].Ext), ItemEntry(p, p.Items[i]));
    for (size_t i = 0; i < p.Masks.size(); ++i)
        extract("mask-" + std::to_string(i), MaskEntry(p, p.Masks[i]));
    for (size_t i = 0; i < p.EnterSounds.size(); ++i)
        extract("enter-" + std::to_string(i) + SafeExtension(p.EnterSounds[i].Ext),
                EnterSoundEntry(p, p.EnterSounds[i]));
    for (size_t i = 0; i < p.Melodies.size(); ++i)
        extract("melody-" + std::to_string(i) + SafeExtension(p.Melodies[i].Ext),
                MelodyEntry(p, p.Melodies[i]));
    const PackageHeader &h = p.Header;
    if (h.PreviewPictureSize > 0)
        extract("preview.bmp", PreviewEntry(p));
    if (h.LogoPackedSize > 0)
        extract("logo" + SafeExtension(h.LogoExt), LogoEntry(p));
    if (h.BackgroundPackedSize > 0)
        extract("background" + SafeExtension(h.BackgroundExt), BackgroundEntry(p));
    if (h.ExitBannerPackedSize > 0)
        extract("exitbanner" + SafeExtension(h.ExitBannerExt), ExitBannerEntry(p));
    return ok;
}

} // namespace

int InspectCommand(const std::string &saver, const std::string &extractFolder)
{
    Package package;
    if (const Status s = ReadPackage(saver, package); !s.Ok()) {
        std::fprintf(stderr, "%s\npictoralia-pack: %s: %s\n", PackageErrorText().c_str(),
                     saver.c_str(), s.Error.c_str());
        return 1;
    }
    const std::string json = PackageToJson(package);
    std::fwrite(json.data(), 1, json.size(), stdout);
    std::fflush(stdout);
    if (extractFolder.empty())
        return 0;
    std::error_code ec;
    std::filesystem::create_directories(extractFolder, ec);
    if (ec) {
        std::fprintf(stderr, "pictoralia-pack: cannot create %s: %s\n", extractFolder.c_str(),
                     ec.message().c_str());
        return 1;
    }
    return ExtractAll(package, extractFolder) ? 0 : 1;
}

} // namespace pictoralia::pack

// The builder's manifest: a TOML file that names everything a screen saver carries.
// Reading it checks every value and every file, so the build itself cannot fail on
// the author's input.
#pragma once

#include "package/records.h"
#include "package/writer.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pictoralia::pack {

// "<manifest>:<line>:<column>: <what>" (line and column when the value has a place).
class ManifestError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Each entry's source is a file (its path absolute, or relative to the working folder)
// with its storage.
struct ManifestItem {
    ItemRecord record; // every field the author sets; the writer fills the layout ones
    EntrySource source;
};

struct ManifestMask {
    MaskRecord record;
    EntrySource source;
};

struct ManifestEnterSound {
    EnterSoundRecord record;
    EntrySource source;
};

struct ManifestMelody {
    ItemRecord record;
    EntrySource source;
};

// A picture of the header's own areas (preview, logo, background, exit banner) or the
// configuration banner; `ext` is empty for the preview and the banner.
struct ManifestPicture {
    EntrySource source;
    std::string ext;
};

struct Manifest {
    PackageHeader header; // the settings and looks; the writer fills the layout fields
    PackageTexts texts;   // DefaultEffects already encoded
    std::vector<ManifestItem> items;
    std::vector<ManifestMask> masks;
    std::vector<ManifestEnterSound> enterSounds;
    std::vector<ManifestMelody> melodies;
    std::optional<ManifestPicture> preview;
    std::optional<ManifestPicture> banner;
    std::optional<ManifestPicture> exitBanner;
    std::optional<ManifestPicture> logo;
    std::optional<ManifestPicture> background;
};

// Reads and checks a manifest; relative paths in it are relative to its folder.
// Throws ManifestError.
Manifest LoadManifest(const std::filesystem::path &path);

// Parses manifest text as if it were the file `path` (tests and error messages).
Manifest ParseManifest(std::string_view text, const std::filesystem::path &path);

} // namespace pictoralia::pack

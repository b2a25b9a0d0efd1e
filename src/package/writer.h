// The package writer: the one serialiser of packages, used by the builder tool and by
// every test that needs a package. It appends a package to a copy of a template
// executable, filling in every size, offset and count field itself.
#pragma once

#include "package/records.h"
#include "package/status.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pictoralia {

enum class Storage { Store, Deflate };

// Where an entry's bytes come from: a file (read in chunks when the package is written,
// never whole) or bytes in memory.
struct EntrySource {
    std::string Path;           // used when Bytes is empty and Path is not
    std::vector<uint8_t> Bytes; // in-memory data
    Storage How = Storage::Store;

    static EntrySource File(std::string path, Storage how = Storage::Store);
    static EntrySource Memory(std::vector<uint8_t> bytes, Storage how = Storage::Store);
    static EntrySource Memory(std::string_view bytes, Storage how = Storage::Store);
};

// Not thread-safe; a plain value that Write only reads.
class PackageWriter {
public:
    // Everything but the layout fields is written as given. Write computes PackageSize,
    // FileSizeSlot (the output's length), the counts and the area and entry sizes; the
    // extensions BackgroundExt, ExitBannerExt and LogoExt are the caller's.
    PackageHeader Header;
    PackageTexts Texts;

    // Each returns the entry's index in its table. The record's DataOffset, Size and
    // PackedSize are filled in by Write; everything else is kept. Item, mask and
    // enter-sound data go into the item data area in that order; melody data follow the
    // melody table in its area. An empty entry is always deflated: stored, its Size of 0
    // would mean "to the end of the file".
    int AddItem(ItemRecord record, EntrySource data);
    int AddMask(MaskRecord record, EntrySource data);
    int AddEnterSound(EnterSoundRecord record, EntrySource data);
    int AddMelody(ItemRecord record, EntrySource data);

    // Single entries of their own areas. The preview picture and the configuration
    // banner are always stored, the exit banner, logo and background always deflated,
    // whatever the source's How says.
    void SetPreviewPicture(EntrySource data);
    void SetBannerArea(EntrySource data);
    void SetExitBanner(EntrySource data);
    void SetLogo(EntrySource data);
    void SetBackground(EntrySource data);

    // done and total in bytes of input (template included); called from Write's thread.
    using Progress = std::function<void(int64_t done, int64_t total)>;

    // Copies templatePath to outPath and appends the package. Writes a temporary file
    // beside outPath and renames it, so on error nothing is left and an existing outPath
    // is untouched. The output is executable (mode 0755). When written is given, it
    // receives the package as written: header and records with their layout fields.
    Status Write(const std::string &templatePath, const std::string &outPath,
                 const Progress &progress = {}, Package *written = nullptr) const;

private:
    std::vector<std::pair<ItemRecord, EntrySource>> m_items;
    std::vector<std::pair<MaskRecord, EntrySource>> m_masks;
    std::vector<std::pair<EnterSoundRecord, EntrySource>> m_enterSounds;
    std::vector<std::pair<ItemRecord, EntrySource>> m_melodies;
    std::optional<EntrySource> m_preview, m_banner, m_exitBanner, m_logo, m_background;
};

} // namespace pictoralia

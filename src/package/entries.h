// Where the areas and the single entries of a read package lie in the executable.
// Pure functions of the package's header and records; 64-bit so no sum overflows.
#pragma once

#include "package/records.h"

#include <cstdint>

namespace pictoralia {

// The areas in file order, numbered as in the layout (area 1 starts at PackageStart).
enum class PackageArea : int {
    ItemData = 1,
    PreviewPicture,
    BannerArea,
    ExitBanner,
    Logo,
    ItemTable,
    MaskTable,
    EnterSoundTable,
    Background,
    MelodyTable,
};

// The header field that holds the area's length.
int32_t AreaLength(const PackageHeader &h, PackageArea area);
// Absolute position of the area's first byte: PackageStart plus the lengths before it.
int64_t AreaStart(const Package &p, PackageArea area);
// Absolute position of the first text, right after area 10.
int64_t TextsStart(const Package &p);

// One entry as ExtractEntry takes it: Offset is absolute in the executable.
struct EntryLocation {
    bool Compressed = false;
    int64_t Size = 0;
    int64_t PackedSize = 0;
    int64_t Offset = 0;

    bool operator==(const EntryLocation &) const = default;
};

// Items, masks and enter sounds lie at PackageStart + DataOffset; melodies at the melody
// area + DataOffset. Each is compressed exactly when its PackedSize is above 0.
EntryLocation ItemEntry(const Package &p, const ItemRecord &item);
EntryLocation MaskEntry(const Package &p, const MaskRecord &mask);
EntryLocation EnterSoundEntry(const Package &p, const EnterSoundRecord &sound);
EntryLocation MelodyEntry(const Package &p, const ItemRecord &melody);
// At the start of their areas: the preview picture always stored (PreviewPictureSize
// bytes), the exit banner, logo and background picture always inflated.
EntryLocation PreviewEntry(const Package &p);
EntryLocation ExitBannerEntry(const Package &p);
EntryLocation LogoEntry(const Package &p);
EntryLocation BackgroundEntry(const Package &p);

} // namespace pictoralia

// Area and entry positions of a package.
#include "package/entries.h"

namespace pictoralia {

int32_t AreaLength(const PackageHeader &h, PackageArea area)
{
    switch (area) {
    case PackageArea::ItemData: return h.ItemDataSize;
    case PackageArea::PreviewPicture: return h.PreviewPictureSize;
    case PackageArea::BannerArea: return h.BannerAreaSize;
    case PackageArea::ExitBanner: return h.ExitBannerPackedSize;
    case PackageArea::Logo: return h.LogoPackedSize;
    case PackageArea::ItemTable: return h.ItemTableSize;
    case PackageArea::MaskTable: return h.MaskTableSize;
    case PackageArea::EnterSoundTable: return h.EnterSoundTableSize;
    case PackageArea::Background: return h.BackgroundPackedSize;
    case PackageArea::MelodyTable: return h.MelodyTableSize;
    }
    return 0;
}

int64_t AreaStart(const Package &p, PackageArea area)
{
    int64_t position = p.PackageStart;
    for (int a = 1; a < int(area); ++a)
        position += AreaLength(p.Header, PackageArea(a));
    return position;
}

int64_t TextsStart(const Package &p)
{
    return AreaStart(p, PackageArea::MelodyTable) + AreaLength(p.Header, PackageArea::MelodyTable);
}

namespace {
EntryLocation FromRecord(int64_t base, int32_t dataOffset, int32_t size, int32_t packedSize)
{
    return {packedSize > 0, size, packedSize, base + dataOffset};
}
} // namespace

EntryLocation ItemEntry(const Package &p, const ItemRecord &r)
{
    return FromRecord(p.PackageStart, r.DataOffset, r.Size, r.PackedSize);
}
EntryLocation MaskEntry(const Package &p, const MaskRecord &r)
{
    return FromRecord(p.PackageStart, r.DataOffset, r.Size, r.PackedSize);
}
EntryLocation EnterSoundEntry(const Package &p, const EnterSoundRecord &r)
{
    return FromRecord(p.PackageStart, r.DataOffset, r.Size, r.PackedSize);
}
EntryLocation MelodyEntry(const Package &p, const ItemRecord &r)
{
    return FromRecord(AreaStart(p, PackageArea::MelodyTable), r.DataOffset, r.Size, r.PackedSize);
}

EntryLocation PreviewEntry(const Package &p)
{
    return {false, p.Header.PreviewPictureSize, 0, AreaStart(p, PackageArea::PreviewPicture)};
}
EntryLocation ExitBannerEntry(const Package &p)
{
    return {true, p.Header.ExitBannerSize, p.Header.ExitBannerPackedSize,
            AreaStart(p, PackageArea::ExitBanner)};
}
EntryLocation LogoEntry(const Package &p)
{
    return {true, p.Header.LogoSize, p.Header.LogoPackedSize, AreaStart(p, PackageArea::Logo)};
}
EntryLocation BackgroundEntry(const Package &p)
{
    return {true, p.Header.BackgroundSize, p.Header.BackgroundPackedSize,
            AreaStart(p, PackageArea::Background)};
}

} // namespace pictoralia

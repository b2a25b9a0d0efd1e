// The byte layout of the package records, written once: every field with its offset,
// width, kind and name. The codec, the inspector and the manifest reader walk it.
#pragma once

#include "package/records.h"

#include <array>
#include <concepts>
#include <string_view>
#include <type_traits>

namespace pictoralia {

enum class FieldKind {
    Int32,       // little-endian signed 32-bit; member int32_t
    Color,       // little-endian 32-bit colour; member TColorRef
    Flag,        // one byte, 0 = false, anything else = true; member bool
    Byte,        // one byte; member uint8_t
    Chars,       // Width characters, ending at the first zero byte or after Width; member std::string
    ShortString, // one length byte, then up to Width - 1 characters; member std::string
};

struct FieldInfo {
    int Offset;
    int Width; // bytes the field occupies in the record
    FieldKind Kind;
    std::string_view Name;
};

// VisitFields(record, visit) calls visit(const FieldInfo &, member &) for every field of
// the record in layout order (reserved bytes are not visited). The record may be const.
// Reserved34 is the header's unused int32 at 0x34, kept so that it round-trips.

template <class H, class V>
    requires std::same_as<std::remove_const_t<H>, PackageHeader>
void VisitFields(H &h, V &&visit)
{
    using K = FieldKind;
    visit(FieldInfo{0x00, 4, K::Int32, "PackageSize"}, h.PackageSize);
    visit(FieldInfo{0x04, 4, K::Int32, "FileSizeSlot"}, h.FileSizeSlot);
    visit(FieldInfo{0x08, 4, K::Int32, "ItemCount"}, h.ItemCount);
    visit(FieldInfo{0x0C, 4, K::Int32, "MelodyEntryCount"}, h.MelodyEntryCount);
    visit(FieldInfo{0x10, 4, K::Int32, "MaskCount"}, h.MaskCount);
    visit(FieldInfo{0x14, 4, K::Int32, "Seconds"}, h.Seconds);
    visit(FieldInfo{0x18, 4, K::Int32, "DisplayOrder"}, h.DisplayOrder);
    visit(FieldInfo{0x1C, 4, K::Int32, "ItemTableSize"}, h.ItemTableSize);
    visit(FieldInfo{0x20, 4, K::Int32, "BackgroundPackedSize"}, h.BackgroundPackedSize);
    visit(FieldInfo{0x24, 4, K::Int32, "BackgroundSize"}, h.BackgroundSize);
    visit(FieldInfo{0x28, 4, K::Int32, "MaskTableSize"}, h.MaskTableSize);
    visit(FieldInfo{0x2C, 4, K::Int32, "PreviewPictureSize"}, h.PreviewPictureSize);
    visit(FieldInfo{0x30, 4, K::Int32, "MelodyTableSize"}, h.MelodyTableSize);
    visit(FieldInfo{0x34, 4, K::Int32, "Reserved34"}, h.Reserved34);
    visit(FieldInfo{0x38, 4, K::Int32, "BannerAreaSize"}, h.BannerAreaSize);
    visit(FieldInfo{0x3C, 4, K::Int32, "ItemDataSize"}, h.ItemDataSize);
    visit(FieldInfo{0x40, 4, K::Int32, "ExitBannerPackedSize"}, h.ExitBannerPackedSize);
    visit(FieldInfo{0x44, 4, K::Int32, "ExitBannerSize"}, h.ExitBannerSize);
    visit(FieldInfo{0x48, 4, K::Int32, "LogoSize"}, h.LogoSize);
    visit(FieldInfo{0x4C, 4, K::Int32, "LogoPackedSize"}, h.LogoPackedSize);
    visit(FieldInfo{0x50, 4, K::Int32, "EnterSoundTableSize"}, h.EnterSoundTableSize);
    visit(FieldInfo{0x54, 4, K::Int32, "EnterSoundCount"}, h.EnterSoundCount);
    visit(FieldInfo{0x58, 4, K::Color, "BackColor1"}, h.BackColor1);
    visit(FieldInfo{0x5C, 4, K::Color, "BackColor2"}, h.BackColor2);
    visit(FieldInfo{0x60, 4, K::Int32, "GradientStyle"}, h.GradientStyle);
    visit(FieldInfo{0x64, 4, K::Int32, "BackPictureMode"}, h.BackPictureMode);
    visit(FieldInfo{0x68, 1, K::Flag, "DesktopBackground"}, h.DesktopBackground);
    visit(FieldInfo{0x69, 1, K::Flag, "RandomColors"}, h.RandomColors);
    visit(FieldInfo{0x6A, 1, K::Flag, "RandomGradient"}, h.RandomGradient);
    visit(FieldInfo{0x6B, 1, K::Flag, "RepaintBackground"}, h.RepaintBackground);
    visit(FieldInfo{0x6C, 4, K::Int32, "Stretch"}, h.Stretch);
    visit(FieldInfo{0x70, 1, K::Flag, "Loop"}, h.Loop);
    visit(FieldInfo{0x71, 1, K::Flag, "Mute"}, h.Mute);
    visit(FieldInfo{0x72, 1, K::Flag, "ShuffleMelody"}, h.ShuffleMelody);
    visit(FieldInfo{0x73, 1, K::Flag, "DesktopStart"}, h.DesktopStart);
    visit(FieldInfo{0x74, 1, K::Flag, "OpeningFirstItem"}, h.OpeningFirstItem);
    visit(FieldInfo{0x75, 1, K::Flag, "MuteVideo"}, h.MuteVideo);
    visit(FieldInfo{0x76, 1, K::Flag, "AllowOwnPlaylist"}, h.AllowOwnPlaylist);
    visit(FieldInfo{0x77, 1, K::Flag, "PlayOneRandom"}, h.PlayOneRandom);
    visit(FieldInfo{0x78, 1, K::Flag, "ExitMouseMove"}, h.ExitMouseMove);
    visit(FieldInfo{0x79, 1, K::Flag, "ExitMouseButton"}, h.ExitMouseButton);
    visit(FieldInfo{0x7A, 1, K::Flag, "ExitKeyboard"}, h.ExitKeyboard);
    visit(FieldInfo{0x7B, 1, K::Flag, "ExitESC"}, h.ExitESC);
    visit(FieldInfo{0x7C, 1, K::Flag, "HideGeneralTab"}, h.HideGeneralTab);
    visit(FieldInfo{0x7D, 1, K::Flag, "HidePositionTab"}, h.HidePositionTab);
    visit(FieldInfo{0x7E, 1, K::Flag, "HideEffectsTab"}, h.HideEffectsTab);
    visit(FieldInfo{0x7F, 1, K::Flag, "HideSoundTab"}, h.HideSoundTab);
    visit(FieldInfo{0x80, 1, K::Flag, "HideBehaviorTab"}, h.HideBehaviorTab);
    visit(FieldInfo{0x84, 4, K::Int32, "EffectSpeed"}, h.EffectSpeed);
    visit(FieldInfo{0x88, 5, K::Chars, "BackgroundExt"}, h.BackgroundExt);
    visit(FieldInfo{0x8D, 5, K::Chars, "ExitBannerExt"}, h.ExitBannerExt);
    visit(FieldInfo{0x92, 5, K::Chars, "LogoExt"}, h.LogoExt);
    visit(FieldInfo{0xC8, 4, K::Int32, "LogoPlacement"}, h.LogoPlacement);
    visit(FieldInfo{0xCC, 4, K::Int32, "LogoMarginX"}, h.LogoMarginX);
    visit(FieldInfo{0xD0, 4, K::Int32, "LogoMarginY"}, h.LogoMarginY);
    visit(FieldInfo{0xD4, 4, K::Color, "LogoTransparentColor"}, h.LogoTransparentColor);
    visit(FieldInfo{0xD8, 1, K::Flag, "AllowRunAsProgram"}, h.AllowRunAsProgram);
}

template <class R, class V>
    requires std::same_as<std::remove_const_t<R>, ItemRecord>
void VisitFields(R &r, V &&visit)
{
    using K = FieldKind;
    visit(FieldInfo{0x000, 4, K::Int32, "DataOffset"}, r.DataOffset);
    visit(FieldInfo{0x004, 4, K::Int32, "Size"}, r.Size);
    visit(FieldInfo{0x008, 4, K::Int32, "PackedSize"}, r.PackedSize);
    visit(FieldInfo{0x00C, 5, K::Chars, "Ext"}, r.Ext);
    visit(FieldInfo{0x014, 4, K::Int32, "CaptionPlacement"}, r.CaptionPlacement);
    visit(FieldInfo{0x018, 4, K::Color, "CaptionColor"}, r.CaptionColor);
    visit(FieldInfo{0x01C, 4, K::Int32, "CaptionMarginX"}, r.CaptionMarginX);
    visit(FieldInfo{0x020, 4, K::Int32, "CaptionMarginY"}, r.CaptionMarginY);
    visit(FieldInfo{0x024, 4, K::Color, "CaptionBoxColor"}, r.CaptionBoxColor);
    visit(FieldInfo{0x028, 252, K::ShortString, "CaptionFont"}, r.CaptionFont);
    visit(FieldInfo{0x124, 4, K::Int32, "CaptionStyle"}, r.CaptionStyle);
    visit(FieldInfo{0x128, 4, K::Int32, "CaptionFontSize"}, r.CaptionFontSize);
    visit(FieldInfo{0x12C, 252, K::ShortString, "CaptionText"}, r.CaptionText);
    visit(FieldInfo{0x228, 4, K::Int32, "CaptionNoBox"}, r.CaptionNoBox);
    visit(FieldInfo{0x22C, 4, K::Int32, "CaptionMultiLine"}, r.CaptionMultiLine);
    visit(FieldInfo{0x230, 4, K::Int32, "CaptionShadow"}, r.CaptionShadow);
    visit(FieldInfo{0x234, 4, K::Int32, "Duration"}, r.Duration);
    visit(FieldInfo{0x238, 4, K::Int32, "SizeModeOverride"}, r.SizeModeOverride);
    visit(FieldInfo{0x23C, 4, K::Int32, "MaskIndex"}, r.MaskIndex);
    visit(FieldInfo{0x240, 4, K::Int32, "EnterSoundIndex"}, r.EnterSoundIndex);
    visit(FieldInfo{0x244, 4, K::Int32, "ImageFlags"}, r.ImageFlags);
    visit(FieldInfo{0x248, 252, K::ShortString, "ItemEffects"}, r.ItemEffects);
    visit(FieldInfo{0x344, 4, K::Int32, "ItemEffectSpeed"}, r.ItemEffectSpeed);
}

template <class R, class V>
    requires std::same_as<std::remove_const_t<R>, MaskRecord>
void VisitFields(R &r, V &&visit)
{
    using K = FieldKind;
    visit(FieldInfo{0x00, 4, K::Int32, "DataOffset"}, r.DataOffset);
    visit(FieldInfo{0x04, 4, K::Int32, "Size"}, r.Size);
    visit(FieldInfo{0x08, 4, K::Int32, "PackedSize"}, r.PackedSize);
    visit(FieldInfo{0x0C, 1, K::Byte, "MaskType"}, r.MaskType);
}

template <class R, class V>
    requires std::same_as<std::remove_const_t<R>, EnterSoundRecord>
void VisitFields(R &r, V &&visit)
{
    using K = FieldKind;
    visit(FieldInfo{0x00, 4, K::Int32, "DataOffset"}, r.DataOffset);
    visit(FieldInfo{0x04, 4, K::Int32, "Size"}, r.Size);
    visit(FieldInfo{0x08, 4, K::Int32, "PackedSize"}, r.PackedSize);
    visit(FieldInfo{0x0C, 8, K::ShortString, "Ext"}, r.Ext);
}

// The 18 texts by position (0-based, file order) and their names; the reserved ones are
// named by their 1-based position ("Reserved4" to "Reserved11", "Reserved15", "Reserved16").
extern const std::array<std::string_view, PackageTextCount> PackageTextNames;
AnsiString &TextAt(PackageTexts &texts, int index);
const AnsiString &TextAt(const PackageTexts &texts, int index);

} // namespace pictoralia

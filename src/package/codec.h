// Decoding and encoding of the package records, field by field from and to
// little-endian bytes. Encoding is the exact inverse of decoding for every value that
// fits its field (see FitsRecord).
#pragma once

#include "package/records.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pictoralia {

PackageHeader DecodePackageHeader(std::span<const uint8_t, PackageHeaderSize> bytes);
ItemRecord DecodeItemRecord(std::span<const uint8_t, ItemRecordSize> bytes);
MaskRecord DecodeMaskRecord(std::span<const uint8_t, MaskRecordSize> bytes);
EnterSoundRecord DecodeEnterSoundRecord(std::span<const uint8_t, EnterSoundRecordSize> bytes);

// Reserved bytes are written as zero. Text that does not fit its field is cut; writers
// call FitsRecord first to report it instead.
std::array<uint8_t, PackageHeaderSize> EncodePackageHeader(const PackageHeader &h);
std::array<uint8_t, ItemRecordSize> EncodeItemRecord(const ItemRecord &r);
std::array<uint8_t, MaskRecordSize> EncodeMaskRecord(const MaskRecord &r);
std::array<uint8_t, EnterSoundRecordSize> EncodeEnterSoundRecord(const EnterSoundRecord &r);

// Empty when every text field of the record fits its width; otherwise the name of the
// first field that does not ("CaptionText is 300 bytes, at most 251 fit").
std::string FitsRecord(const PackageHeader &h);
std::string FitsRecord(const ItemRecord &r);
std::string FitsRecord(const EnterSoundRecord &r);

// The 18 texts in file order, each a 16-bit length and its bytes. A text longer than
// 65535 bytes is cut; FitsTexts reports it.
std::vector<uint8_t> EncodePackageTexts(const PackageTexts &texts);
std::string FitsTexts(const PackageTexts &texts);

// Little-endian helpers, also for tests that build bytes by hand.
inline int32_t GetInt32LE(const uint8_t *p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}
inline void PutInt32LE(uint8_t *p, int32_t value)
{
    const auto v = uint32_t(value);
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

} // namespace pictoralia

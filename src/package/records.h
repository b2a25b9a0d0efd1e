// The records of the content package appended to a screen saver, as they stand in
// memory after reading. Field names are the package format's own.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pictoralia {

// A colour as stored in the package: 0x00BBGGRR for a plain colour, 0xFF000000 plus an
// index for a system colour, 0x1FFFFFFF for none.
using TColorRef = uint32_t;
constexpr TColorRef ColorNone = 0x1FFFFFFF;

// Text fields hold the package's bytes unchanged (Windows-1252 text).
using AnsiString = std::string;

constexpr int32_t PackageHeaderSize = 220;
constexpr int32_t PackageSignatureSize = 10;
constexpr char PackageSignature[] = "Pictoralia"; // 10 characters, no terminator in the file
constexpr int32_t ItemRecordSize = 840;
constexpr int32_t MaskRecordSize = 16;
constexpr int32_t EnterSoundRecordSize = 20;
constexpr int32_t PackageTextCount = 18;

struct PackageHeader {
    int32_t PackageSize = 0;
    int32_t FileSizeSlot = 0; // after reading: the file's actual length
    int32_t ItemCount = 0;
    int32_t MelodyEntryCount = 0;
    int32_t MaskCount = 0;
    int32_t Seconds = 5;
    int32_t DisplayOrder = 0;
    int32_t ItemTableSize = 0;
    int32_t BackgroundPackedSize = 0;
    int32_t BackgroundSize = 0;
    int32_t MaskTableSize = 0;
    int32_t PreviewPictureSize = 0;
    int32_t MelodyTableSize = 0;
    int32_t Reserved34 = 0;
    int32_t BannerAreaSize = 0;
    int32_t ItemDataSize = 0;
    int32_t ExitBannerPackedSize = 0;
    int32_t ExitBannerSize = 0;
    int32_t LogoSize = 0;
    int32_t LogoPackedSize = 0;
    int32_t EnterSoundTableSize = 0;
    int32_t EnterSoundCount = 0;
    TColorRef BackColor1 = 0;
    TColorRef BackColor2 = 0;
    int32_t GradientStyle = 1;
    int32_t BackPictureMode = 0;
    bool DesktopBackground = false;
    bool RandomColors = false;
    bool RandomGradient = false;
    bool RepaintBackground = false;
    int32_t Stretch = 0;
    bool Loop = true;
    bool Mute = false;
    bool ShuffleMelody = false;
    bool DesktopStart = false;
    bool OpeningFirstItem = false;
    bool MuteVideo = false;
    bool AllowOwnPlaylist = false;
    bool PlayOneRandom = false;
    bool ExitMouseMove = true;
    bool ExitMouseButton = true;
    bool ExitKeyboard = true;
    bool ExitESC = false;
    bool HideGeneralTab = false;
    bool HidePositionTab = false;
    bool HideEffectsTab = false;
    bool HideSoundTab = false;
    bool HideBehaviorTab = false;
    int32_t EffectSpeed = 4;
    std::string BackgroundExt; // with its dot, at most 5 characters
    std::string ExitBannerExt;
    std::string LogoExt;
    int32_t LogoPlacement = 0;
    int32_t LogoMarginX = 0;
    int32_t LogoMarginY = 0;
    TColorRef LogoTransparentColor = ColorNone;
    bool AllowRunAsProgram = false;

    bool operator==(const PackageHeader &) const = default;
};

// The item table's record; the melody table uses only its first four fields.
struct ItemRecord {
    int32_t DataOffset = 0; // items: from PackageStart; melodies: from the melody table area
    int32_t Size = 0;       // length after inflating (the stored length when not compressed)
    int32_t PackedSize = 0; // 0 = stored; above 0 = one zlib stream of this length
    std::string Ext;        // with its dot, at most 5 characters
    int32_t CaptionPlacement = 0;
    TColorRef CaptionColor = 0;
    int32_t CaptionMarginX = 0;
    int32_t CaptionMarginY = 0;
    TColorRef CaptionBoxColor = 0;
    AnsiString CaptionFont; // empty = "Verdana"
    int32_t CaptionStyle = 0; // bits: 1 underline, 2 bold, 4 italic, 8 strike-out
    int32_t CaptionFontSize = 0;
    AnsiString CaptionText;
    int32_t CaptionNoBox = 0;
    int32_t CaptionMultiLine = 0;
    int32_t CaptionShadow = 0;
    int32_t Duration = 0;          // seconds; 0 or less = the Seconds setting
    int32_t SizeModeOverride = -1; // 0..5; -1 = the Stretch setting
    int32_t MaskIndex = -1;
    int32_t EnterSoundIndex = -1;
    int32_t ImageFlags = 0;  // low byte: 1 mirror, 2 upside down, 4 grey
    AnsiString ItemEffects;  // effect selection string
    int32_t ItemEffectSpeed = -1;

    bool operator==(const ItemRecord &) const = default;
};

struct MaskRecord {
    int32_t DataOffset = 0; // from PackageStart
    int32_t Size = 0;
    int32_t PackedSize = 0;
    uint8_t MaskType = 0; // 0 BMP, 1 PNG, other GIF

    bool operator==(const MaskRecord &) const = default;
};

struct EnterSoundRecord {
    int32_t DataOffset = 0; // from PackageStart
    int32_t Size = 0;
    int32_t PackedSize = 0;
    std::string Ext; // short string of up to 7 characters, with its dot

    bool operator==(const EnterSoundRecord &) const = default;
};

// The 18 texts, in file order.
struct PackageTexts {
    AnsiString Title;
    AnsiString AboutText;
    AnsiString WebsiteURL;
    std::array<AnsiString, 8> Reserved4to11;
    AnsiString ExitLinkURL;
    AnsiString BannerLinkURL;
    AnsiString ExitBannerLinkURL;
    std::array<AnsiString, 2> Reserved15to16;
    AnsiString DefaultEffects;
    AnsiString TranslationText;

    bool operator==(const PackageTexts &) const = default;
};

// Everything read from a package; read once, then fixed for the run except for the
// settings that the registry and the dialog change in memory.
struct Package {
    std::string ExeName;      // the file the package was read from
    int64_t PackageStart = 0; // file length - PackageSize
    PackageHeader Header;
    PackageTexts Texts;
    std::vector<ItemRecord> Items;
    std::vector<MaskRecord> Masks;
    std::vector<EnterSoundRecord> EnterSounds;
    std::vector<ItemRecord> Melodies;
};

} // namespace pictoralia

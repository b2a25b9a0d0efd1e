// The one table of the user settings: registry value, type, where the value lives in
// memory, its range and the dialog control that holds the working copy. Reading,
// writing and the dialog all go through it.
#pragma once

#include "package/records.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace pictoralia {

enum class SettingId : uint8_t {
    Seconds,
    Stretch,
    DisplayOrder,
    DesktopStart,
    Loop,
    Mute,
    ShuffleMelody,
    Effect,
    EffectSpeed,
    PlayOneRandom,
    ExitMouseMove,
    ExitMouseButton,
    ExitKeyboard,
    ExitESC,
    UseCustomPlaylist,
};

// Integer and Boolean values are registry DWORDs (a Boolean reads as "not 0"); the
// String is a registry string value.
enum class SettingType : uint8_t { Integer, Boolean, String };

struct SettingDef {
    SettingId Id;
    std::string_view ValueName; // the registry value below the screen saver's key
    SettingType Type;
    // The header field (or package text) that holds the default and, after reading,
    // the current value; none for UseCustomPlaylist, whose live value is its control.
    int32_t PackageHeader::*IntegerField = nullptr;
    bool PackageHeader::*BooleanField = nullptr;
    AnsiString PackageTexts::*TextField = nullptr;
    // The values the setting is meant to take; the dialog's range. Stored values outside
    // it are read as they are (the dialog then shows its designed state).
    int32_t Minimum = 0;
    int32_t Maximum = 1;
    bool DesignDefault = false; // the default of a setting without a header field
    // The control holding the working copy: a check box or radio button for Booleans;
    // for Stretch and DisplayOrder the group box whose tag holds the choice.
    std::string_view Control;
};

// In the order the settings are written.
inline constexpr std::array<SettingDef, 15> kSettings = {{
    {SettingId::Seconds, "Seconds", SettingType::Integer, &PackageHeader::Seconds, nullptr, nullptr, 1, 60, false, "edSeconds"},
    {SettingId::Stretch, "Stretch", SettingType::Integer, &PackageHeader::Stretch, nullptr, nullptr, 0, 5, false, "gbSize"},
    {SettingId::DisplayOrder, "DisplayOrder", SettingType::Integer, &PackageHeader::DisplayOrder, nullptr, nullptr, 0, 2, false, "gbOrder"},
    {SettingId::DesktopStart, "DesktopStart", SettingType::Boolean, nullptr, &PackageHeader::DesktopStart, nullptr, 0, 1, false, "cbDesktop"},
    {SettingId::Loop, "Loop", SettingType::Boolean, nullptr, &PackageHeader::Loop, nullptr, 0, 1, false, "cbLoop"},
    {SettingId::Mute, "Mute", SettingType::Boolean, nullptr, &PackageHeader::Mute, nullptr, 0, 1, false, "cbMute"},
    {SettingId::ShuffleMelody, "ShuffleMelody", SettingType::Boolean, nullptr, &PackageHeader::ShuffleMelody, nullptr, 0, 1, false, "cbShuffle"},
    {SettingId::Effect, "Effect", SettingType::String, nullptr, nullptr, &PackageTexts::DefaultEffects, 0, 0, false, "lbEffects"},
    {SettingId::EffectSpeed, "EffectSpeed", SettingType::Integer, &PackageHeader::EffectSpeed, nullptr, nullptr, 1, 10, false, "tbEffectSpeed"},
    {SettingId::PlayOneRandom, "PlayOneRandom", SettingType::Boolean, nullptr, &PackageHeader::PlayOneRandom, nullptr, 0, 1, false, "cbPlayOneRandom"},
    {SettingId::ExitMouseMove, "ExitMouseMove", SettingType::Boolean, nullptr, &PackageHeader::ExitMouseMove, nullptr, 0, 1, false, "cbExitMouseMove"},
    {SettingId::ExitMouseButton, "ExitMouseButton", SettingType::Boolean, nullptr, &PackageHeader::ExitMouseButton, nullptr, 0, 1, false, "cbExitMouseButton"},
    {SettingId::ExitKeyboard, "ExitKeyboard", SettingType::Boolean, nullptr, &PackageHeader::ExitKeyboard, nullptr, 0, 1, false, "cbExitKeyboard"},
    {SettingId::ExitESC, "ExitESC", SettingType::Boolean, nullptr, &PackageHeader::ExitESC, nullptr, 0, 1, false, "cbExitEscape"},
    {SettingId::UseCustomPlaylist, "UseCustomPlaylist", SettingType::Boolean, nullptr, nullptr, nullptr, 0, 1, false, "rbPlayMyOwn"},
}};

constexpr const SettingDef &Setting(SettingId id) { return kSettings[static_cast<size_t>(id)]; }

// Each row sits at the index of its id, so Setting(id) is a plain lookup.
static_assert([] {
    for (size_t i = 0; i < kSettings.size(); ++i) {
        if (static_cast<size_t>(kSettings[i].Id) != i)
            return false;
    }
    return true;
}());

} // namespace pictoralia

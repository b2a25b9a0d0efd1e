// The user settings between the store, memory and the configuration dialog: reading
// them over the package header's defaults (every mode but the preview), writing them
// when the dialog closes, and the dialog's own set-up in configuration mode.
#pragma once

#include "package/records.h"
#include "package/status.h"
#include "platform/registry.h"

#include <optional>
#include <string>

class QTimer;
class QWidget;

namespace pictoralia {

class CfgBox;

// "\Software\Pictoralia\" + Title (the title's Windows-1252 bytes as UTF-8), below
// HKEY_CURRENT_USER.
std::string SettingsKeyPath(const AnsiString &title);

// The store's values over the defaults in memory: each value that exists replaces its
// header field (or Texts.DefaultEffects); the choice of the user's own playlist is
// returned when stored. A value of the wrong type, or a store that cannot be read, fails.
// A store holding none of the four exit conditions leaves the keyboard one on: the
// saver could not be ended otherwise.
struct StoredSettings {
    std::optional<bool> UseCustomPlaylist;
};
Status ReadStoredSettings(const RegistryStore &store, Package &package, StoredSettings &stored);

// Puts the settings in memory into the dialog's controls: the display time, order,
// desktop start, size and position (with the group tags and enabled states), speed,
// effect selection and check boxes; the title as the window caption and application
// name; the Website button and the pages the package hides. slideshowTimer (may be
// null) gets the display time as its interval; window (may be null) the caption.
void ShowSettings(const Package &package, const StoredSettings &stored, CfgBox &box, QWidget *window,
                  QTimer *slideshowTimer);

// Both of the above: the settings side of ReadData, in saver and configuration mode.
Status ReadSettings(const RegistryStore &store, Package &package, CfgBox &box, QWidget *window,
                    QTimer *slideshowTimer);

// Writes all 15 values from the dialog's controls, creating the key when missing.
// Called when the configuration window closes, however it is closed.
Status WriteSettings(const RegistryStore &store, const Package &package, const CfgBox &box);

// When the screen-saver component reports configuration mode, after ReadSettings: shows
// the preview box and the controls; the banner strip when the package has a banner
// area (with the hand cursor when it has a link), otherwise window (may be the box
// itself) loses the strip's height.
void LayOutConfigBox(const Package &package, CfgBox &box, QWidget *window);

// The configuration branch of the window's creation: the effect preview surface gets
// the second sample picture and previewTimer (may be null) starts; the playlist group
// follows AllowOwnPlaylist and MelodyEntryCount.
void SetUpConfigDialog(const Package &package, CfgBox &box, QTimer *previewTimer);

} // namespace pictoralia

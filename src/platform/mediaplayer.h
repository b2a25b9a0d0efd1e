// TMediaPlayer: the media player the window holds for melodies, enter sounds and
// video clips. Only the operations the window's ending needs are declared here; the
// playback back ends add theirs.
#pragma once

#include <string>

namespace pictoralia {

// GUI thread only.
class TMediaPlayer {
public:
    virtual ~TMediaPlayer() = default;
    // The file that was opened last (empty when none).
    virtual std::string FileName() const = 0;
    // Completion notification for the next command; false = no notification.
    virtual void SetNotify(bool notify) = 0;
    // Stops playback and releases the file; closing a closed player does nothing.
    virtual void Close() = 0;
};

} // namespace pictoralia

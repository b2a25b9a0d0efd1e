// The show's side of the main window: the seams of TSSWindow that the slideshow
// fills (background, preview picture, start of the show, the clock's tick, the GIF stop).
#pragma once

#include "shell/showseams.h"

#include <memory>

namespace pictoralia {

class Slideshow;

// GUI thread. Made before the window; the Slideshow is made on first use, when the
// window's components and its package exist, and lives as long as the window.
class SaverShow : public ShowSeams {
public:
    SaverShow();
    ~SaverShow() override;

    void PrepareBackground(TSSWindow &window) override;
    void LoadPreviewImage(TSSWindow &window) override;
    void StartShow(TSSWindow &window) override;
    void TimerTick(TSSWindow &window) override;
    void StopGif(TSSWindow &window) override;

    // The slideshow of window, made on the first call.
    Slideshow &Show(TSSWindow &window);

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

} // namespace pictoralia

// The layers around the picture on every frame: background, mask, logo and caption.
// Only the plain background exists so far; the overlays issue fills in the gradient
// painter, the background picture, masks, the logo and captions behind these same calls.
#pragma once

#include "package/records.h"
#include "platform/bitmap32.h"

namespace pictoralia {

// GUI thread.
class Overlays {
public:
    explicit Overlays(Package &package)
        : m_package(package)
    {
    }

    // Background setup at the start of the saver: BackgroundFrame at the window's
    // client size, for now filled with BackColor1.
    void SetupBackground(int32_t width, int32_t height);
    // Repaint before an item (RepaintBackground without DesktopBackground). Not yet
    // filled: the background stays as set up.
    void RepaintBackground();
    const TBitmap32 &BackgroundFrame() const { return m_backgroundFrame; }

    // Not yet filled: no logo is drawn.
    void DrawLogo(TBitmap32 &frame);
    // Not yet filled: no caption is drawn.
    void DrawItemCaption(int32_t index, TBitmap32 &frame);
    // Fills mask with mask `index` of the package. Not yet filled: mask stays empty.
    void LoadMask(int32_t index, TBitmap32 &mask);

private:
    Package &m_package;
    TBitmap32 m_backgroundFrame;
};

// Makes the mask's brightness the layer's opacity. Not yet filled: the layer keeps its
// alpha, so a masked picture is drawn unmasked.
void ApplyMaskAlpha(TBitmap32 &layer, const TBitmap32 &mask);

} // namespace pictoralia

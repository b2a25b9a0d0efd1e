// The plain background, and the overlay calls the overlays issue fills.
#include "slideshow/overlays.h"

#include "slideshow/color.h"

namespace pictoralia {

void Overlays::SetupBackground(int32_t width, int32_t height)
{
    m_backgroundFrame.SetSize(width, height);
    m_backgroundFrame.Clear(Color32(m_package.Header.BackColor1));
}

void Overlays::RepaintBackground() { }

void Overlays::DrawLogo(TBitmap32 &) { }

void Overlays::DrawItemCaption(int32_t, TBitmap32 &) { }

void Overlays::LoadMask(int32_t, TBitmap32 &) { }

void ApplyMaskAlpha(TBitmap32 &, const TBitmap32 &) { }

} // namespace pictoralia

// TCanvas: what a transition paints onto. A window's display surface in the program,
// a plain bitmap in tests and tools.
#pragma once

#include "platform/bitmap32.h"

#include <memory>

namespace pictoralia {

// Called on the GUI thread only (the transition worker reaches it through its
// synchronised paint requests).
class TCanvas {
public:
    TCanvas() = default;
    // A copy is another canvas, with a lifetime of its own.
    TCanvas(const TCanvas &) {}
    TCanvas &operator=(const TCanvas &) { return *this; }
    virtual ~TCanvas() = default;
    // srcRect of src onto dstRect, stretched by the nearest pixel when sizes differ.
    virtual void CopyRect(const TRect &dstRect, const TBitmap32 &src, const TRect &srcRect) = 0;
    // What the canvas shows in (0, 0, width, height), as a bitmap of that size; parts
    // outside the canvas are black.
    virtual void Snapshot(TBitmap32 &out, int32_t width, int32_t height) const = 0;

    // Expires when this canvas is destroyed, so that work that outlives it (a transition
    // whose window closed) can tell, on the GUI thread, that it must not paint.
    std::weak_ptr<const void> Lifetime() const { return m_lifetime; }

private:
    std::shared_ptr<const char> m_lifetime = std::make_shared<const char>();
};

// A canvas over a bitmap that the caller owns.
class BitmapCanvas final : public TCanvas {
public:
    explicit BitmapCanvas(TBitmap32 &target) : m_target(target) {}
    void CopyRect(const TRect &dstRect, const TBitmap32 &src, const TRect &srcRect) override
    {
        m_target.CopyRect(dstRect, src, srcRect);
    }
    void Snapshot(TBitmap32 &out, int32_t width, int32_t height) const override
    {
        out.CopyCorner(m_target, width, height, 0xFF000000);
    }
    TBitmap32 &Target() { return m_target; }

private:
    TBitmap32 &m_target;
};

} // namespace pictoralia

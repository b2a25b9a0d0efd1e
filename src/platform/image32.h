// TImage32: the picture control of the full-screen show. It holds the control's
// bitmap and a display surface (what the screen shows); its window canvas paints into
// the surface, so a transition draws on screen while the bitmap already holds the
// next frame.
#pragma once

#include "platform/bitmap32.h"
#include "platform/canvas.h"

#include <QWidget>

namespace pictoralia {

class TImage32;

// The window canvas of a TImage32: CopyRect paints into the display surface and marks
// that rectangle for repaint; Snapshot reads the surface. GUI thread only.
class Image32Canvas final : public TCanvas {
public:
    explicit Image32Canvas(TImage32 &image) : m_image(image) {}
    void CopyRect(const TRect &dstRect, const TBitmap32 &src, const TRect &srcRect) override;
    void Snapshot(TBitmap32 &out, int32_t width, int32_t height) const override;

private:
    TImage32 &m_image;
};

// GUI thread only. The surface has the widget's size (black where nothing was painted)
// and keeps its contents when the widget is resized.
class TImage32 final : public QWidget {
    Q_OBJECT
public:
    explicit TImage32(QWidget *parent = nullptr);

    // The control's bitmap. Change it, then call Changed() to show it.
    TBitmap32 &Bitmap() { return m_bitmap; }
    const TBitmap32 &Bitmap() const { return m_bitmap; }
    // Replaces the bitmap; shown at once unless change notifications are suspended.
    void SetBitmap(const TBitmap32 &bitmap);
    // Change notifications of the bitmap: while suspended, Changed() does nothing.
    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate() { if (m_updateCount > 0) --m_updateCount; }
    bool Updating() const { return m_updateCount > 0; }
    // The bitmap changed: it is drawn onto the surface (at 0, 0, unscaled) and shown.
    void Changed();

    TCanvas &Canvas() { return m_canvas; }
    const TBitmap32 &Surface() const
    {
        SyncSurface();
        return m_surface;
    }
    // The rectangles marked for repaint since the last paint (for tests and tools).
    QRegion PendingRepaint() const { return m_pending; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class Image32Canvas;
    void MarkDirty(const QRect &r);
    void SyncSurface() const;

    TBitmap32 m_bitmap;
    mutable TBitmap32 m_surface;
    Image32Canvas m_canvas{*this};
    QRegion m_pending;
    int m_updateCount = 0;
};

} // namespace pictoralia

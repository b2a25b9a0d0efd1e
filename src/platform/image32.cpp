// The picture control and its window canvas.
#include "platform/image32.h"

#include <QPaintEvent>
#include <QPainter>

namespace pictoralia {

void Image32Canvas::CopyRect(const TRect &dstRect, const TBitmap32 &src, const TRect &srcRect)
{
    m_image.SyncSurface();
    m_image.m_surface.CopyRect(dstRect, src, srcRect);
    m_image.MarkDirty(QRect(dstRect.Left, dstRect.Top, dstRect.Width(), dstRect.Height()));
}

void Image32Canvas::Snapshot(TBitmap32 &out, int32_t width, int32_t height) const
{
    m_image.SyncSurface();
    out.CopyCorner(m_image.m_surface, width, height, 0xFF000000);
}

TImage32::TImage32(QWidget *parent) : QWidget(parent)
{
    // Every pixel is painted from the surface; nothing of the parent shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImage32::SetBitmap(const TBitmap32 &bitmap)
{
    m_bitmap.Assign(bitmap);
    Changed();
}

void TImage32::Changed()
{
    if (Updating())
        return;
    SyncSurface();
    m_surface.CopyRect(m_bitmap.BoundsRect(), m_bitmap, m_bitmap.BoundsRect());
    MarkDirty(QRect(0, 0, m_bitmap.Width(), m_bitmap.Height()));
}

void TImage32::MarkDirty(const QRect &r)
{
    const QRect clipped = r.intersected(rect());
    if (clipped.isEmpty())
        return;
    m_pending += clipped;
    update(clipped);
}

void TImage32::paintEvent(QPaintEvent *event)
{
    SyncSurface();
    QPainter p(this);
    for (const QRect &r : event->region())
        p.drawImage(r, m_surface.Image(), r);
    m_pending -= event->region();
}

void TImage32::resizeEvent(QResizeEvent *event)
{
    SyncSurface();
    QWidget::resizeEvent(event);
}

void TImage32::SyncSurface() const
{
    // A hidden widget gets its resize event only when shown; the surface follows the
    // size whenever it is used.
    const int w = std::max(1, width()), h = std::max(1, height());
    if (m_surface.Width() == w && m_surface.Height() == h)
        return;
    TBitmap32 old = m_surface;
    m_surface.SetSize(w, h);
    m_surface.Clear(0xFF000000);
    if (!old.Empty())
        m_surface.CopyRect(old.BoundsRect(), old, old.BoundsRect());
}

} // namespace pictoralia

// Drawn in code so the dialog needs no picture files.
#include "settings/previewsamples.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace pictoralia {

QImage PreviewSample(int which)
{
    constexpr int W = 119;
    constexpr int H = 95;
    QImage image(W, H, QImage::Format_ARGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, H);
    if (which == 0) {
        sky.setColorAt(0, QColor(40, 110, 210));
        sky.setColorAt(1, QColor(170, 215, 250));
        p.fillRect(image.rect(), sky);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 220, 60));
        p.drawEllipse(QPointF(90, 22), 11, 11);
        p.setBrush(QColor(250, 250, 250));
        p.drawEllipse(QRectF(12, 14, 26, 10));
        p.drawEllipse(QRectF(22, 9, 22, 12));
        p.setBrush(QColor(60, 150, 60));
        p.drawEllipse(QRectF(-30, 58, 110, 70));
        p.setBrush(QColor(40, 120, 45));
        p.drawEllipse(QRectF(40, 64, 120, 60));
    } else {
        sky.setColorAt(0, QColor(40, 20, 70));
        sky.setColorAt(0.65, QColor(200, 70, 60));
        sky.setColorAt(1, QColor(250, 170, 60));
        p.fillRect(image.rect(), sky);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 245, 200));
        p.drawEllipse(QPointF(28, 24), 9, 9);
        p.setBrush(QColor(40, 20, 70));
        p.drawEllipse(QPointF(32, 21), 8, 8);
        QPainterPath mountains;
        mountains.moveTo(0, H);
        mountains.lineTo(0, 70);
        mountains.lineTo(30, 45);
        mountains.lineTo(52, 66);
        mountains.lineTo(80, 36);
        mountains.lineTo(W, 72);
        mountains.lineTo(W, H);
        mountains.closeSubpath();
        p.setBrush(QColor(25, 15, 35));
        p.drawPath(mountains);
    }
    return image;
}

} // namespace pictoralia

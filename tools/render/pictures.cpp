// Generated sample pictures and picture files for the renderer.
#include "pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

namespace pictoralia::render {

TBitmap32 GeneratedPicture(int32_t width, int32_t height, int variant)
{
    QImage image(width, height, QImage::Format_ARGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all(0, 0, width, height);
    const double unit = std::max(1, std::min(width, height)) / 8.0;
    if (variant == 0) {
        QLinearGradient g(all.topLeft(), all.bottomLeft());
        g.setColorAt(0, QColor(20, 60, 140));
        g.setColorAt(1, QColor(40, 170, 170));
        p.fillRect(all, g);
        p.setPen(QPen(QColor(230, 240, 255), std::max(1.0, unit / 12)));
        for (int i = 1; i < 8; ++i) {
            p.drawLine(QPointF(width * i / 8.0, 0), QPointF(width * i / 8.0, height));
            p.drawLine(QPointF(0, height * i / 8.0), QPointF(width, height * i / 8.0));
        }
    } else {
        QLinearGradient g(all.topLeft(), all.bottomRight());
        g.setColorAt(0, QColor(250, 190, 40));
        g.setColorAt(1, QColor(200, 40, 30));
        p.fillRect(all, g);
        p.setPen(QPen(QColor(70, 20, 10), std::max(1.0, unit / 6)));
        p.setBrush(Qt::NoBrush);
        for (int i = 1; i <= 4; ++i)
            p.drawEllipse(all.center(), unit * i, unit * i);
    }
    QFont font;
    font.setPixelSize(std::max(8, int(unit * 4)));
    font.setBold(true);
    p.setFont(font);
    p.setPen(variant == 0 ? QColor(255, 255, 255) : QColor(40, 10, 60));
    p.drawText(all, Qt::AlignCenter, variant == 0 ? QStringLiteral("A") : QStringLiteral("B"));
    p.end();

    TBitmap32 b;
    b.SetImage(image);
    return b;
}

TBitmap32 LoadPicture(const QString &path, int32_t width, int32_t height)
{
    QImage image(path);
    TBitmap32 b;
    if (image.isNull())
        return b;
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.width() != width || image.height() != height)
        image = image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    b.SetImage(image);
    return b;
}

} // namespace pictoralia::render

// pictoralia-demo-media: draws the pictures, the mask, the logo and the banners of the
// demo screen saver, and writes its enter sound and melody, all from code, so the
// demo carries no media from elsewhere. The output is the same on every run.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "gif.h"
#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

QString g_dir;

void Fail(const QString &what)
{
    std::fprintf(stderr, "pictoralia-demo-media: %s\n", qPrintable(what));
    std::exit(1);
}

void Save(const QImage &image, const char *name, const char *format, int quality = -1)
{
    const QString path = g_dir + "/" + name;
    if (!image.save(path, format, quality))
        Fail("cannot write " + path);
}

void WriteBytes(const char *name, const QByteArray &bytes)
{
    QFile file(g_dir + "/" + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        Fail("cannot write " + file.fileName());
}

QFont Font(int pixels, bool bold = true)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A big number and a line naming the picture's format and size: the show makes plain
// which picture is on screen and how it was sized.
void Label(QPainter &p, const QRect &r, const QString &number, const QString &line, QColor ink)
{
    const int big = std::min(r.height() * 2 / 3, r.width() / 2);
    p.setFont(Font(big));
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(r.translated(big / 30 + 2, big / 30 + 2), Qt::AlignCenter, number);
    p.setPen(ink);
    p.drawText(r, Qt::AlignCenter, number);
    p.setFont(Font(std::max(12, r.height() / 16), false));
    p.drawText(r.adjusted(0, 0, 0, -r.height() / 20), Qt::AlignHCenter | Qt::AlignBottom, line);
}

// Fills r with a gradient from a at `from` to b at `to`.
void FillLinear(QPainter &p, const QRect &r, QPointF from, QPointF to, QColor a, QColor b)
{
    QLinearGradient g(from, to);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    p.fillRect(r, g);
}

QImage Canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

void TitlePicture()
{
    QImage image = Canvas(1600, 1000);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 1600, 1000);
    sky.setColorAt(0, QColor(10, 20, 80));
    sky.setColorAt(0.6, QColor(120, 40, 140));
    sky.setColorAt(1, QColor(250, 140, 60));
    p.fillRect(image.rect(), sky);
    QRadialGradient sun(1250, 780, 260);
    sun.setColorAt(0, QColor(255, 240, 180));
    sun.setColorAt(0.5, QColor(255, 200, 90, 200));
    sun.setColorAt(1, QColor(255, 160, 60, 0));
    p.setBrush(sun);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(1250, 780), 260, 260);
    p.setPen(Qt::white);
    p.setFont(Font(150));
    p.drawText(QRect(0, 120, 1600, 220), Qt::AlignCenter, "Pictoralia");
    p.setFont(Font(48, false));
    p.drawText(QRect(0, 330, 1600, 80), Qt::AlignCenter, "demo screen saver");
    Label(p, QRect(0, 400, 1600, 600), "1", "PNG 1600 x 1000", Qt::white);
    Save(image, "01-title.png", "PNG");
}

void ShapesPicture()
{
    QImage image = Canvas(1024, 768);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    FillLinear(p, image.rect(), {0, 0}, {0, 768}, QColor(255, 200, 40), QColor(200, 40, 20));
    p.setPen(QPen(QColor(255, 255, 255, 160), 6));
    for (int i = 0; i < 6; ++i) {
        p.setBrush(QColor::fromHsv((i * 47) % 360, 200, 230, 170));
        p.drawEllipse(QPointF(120 + i * 160, 140 + (i % 2) * 90), 70, 70);
        p.drawRect(60 + i * 160, 560 - (i % 3) * 40, 110, 110);
    }
    QPolygonF triangle({QPointF(512, 230), QPointF(700, 540), QPointF(324, 540)});
    p.setBrush(QColor(40, 60, 160, 140));
    p.drawPolygon(triangle);
    Label(p, image.rect(), "2", "JPEG 1024 x 768", Qt::white);
    Save(image, "02-shapes.jpg", "JPEG", 90);
}

void PortraitPicture()
{
    QImage image = Canvas(600, 900);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(300, 380, 520);
    glow.setColorAt(0, QColor(180, 255, 170));
    glow.setColorAt(1, QColor(0, 70, 40));
    p.fillRect(image.rect(), glow);
    p.setPen(QPen(QColor(255, 255, 255, 120), 3));
    for (int y = 40; y < 900; y += 60)
        p.drawLine(0, y, 600, y + 40);
    Label(p, image.rect(), "3", "BMP 600 x 900", QColor(10, 40, 20));
    Save(image.convertToFormat(QImage::Format_RGB888), "03-portrait.bmp", "BMP");
}

void SmallPicture()
{
    QImage image = Canvas(320, 240);
    QPainter p(&image);
    for (int y = 0; y < 240; y += 40)
        for (int x = 0; x < 320; x += 40)
            p.fillRect(x, y, 40, 40, ((x + y) / 40) % 2 ? QColor(30, 30, 30) : QColor(230, 230, 230));
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 120, 220));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRect(40, 30, 240, 180), 24, 24);
    Label(p, QRect(40, 30, 240, 180), "5", "PNG 320 x 240", Qt::white);
    Save(image, "05-small.png", "PNG");
}

void ArrowPicture()
{
    QImage image = Canvas(800, 800);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    FillLinear(p, image.rect(), {0, 0}, {800, 0}, QColor(0, 90, 110), QColor(0, 200, 180));
    QPainterPath arrow;
    arrow.moveTo(120, 330);
    arrow.lineTo(480, 330);
    arrow.lineTo(480, 200);
    arrow.lineTo(700, 400);
    arrow.lineTo(480, 600);
    arrow.lineTo(480, 470);
    arrow.lineTo(120, 470);
    arrow.closeSubpath();
    p.fillPath(arrow, QColor(255, 250, 220));
    p.setPen(QColor(0, 40, 50));
    p.setFont(Font(200));
    p.drawText(QRect(120, 300, 360, 200), Qt::AlignCenter, "6");
    p.setPen(Qt::white);
    p.setFont(Font(40, false));
    p.drawText(QRect(0, 660, 800, 80), Qt::AlignCenter, "JPEG 800 x 800: points right");
    Save(image, "06-arrow.jpg", "JPEG", 90);
}

void LargePicture()
{
    QImage image = Canvas(2400, 1600);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int band = 0; band < 12; ++band)
        p.fillRect(band * 200, 0, 200, 1600, QColor::fromHsv(band * 30, 160, 200));
    p.setPen(QPen(QColor(255, 255, 255, 200), 14));
    p.setBrush(Qt::NoBrush);
    for (int r = 100; r < 800; r += 120)
        p.drawEllipse(QPoint(1200, 800), r, r);
    Label(p, image.rect(), "7", "JPEG 2400 x 1600", Qt::white);
    Save(image, "07-large.jpg", "JPEG", 85);
}

void WideAnimatedGif()
{
    std::vector<QImage> frames;
    constexpr int W = 960, H = 320, Count = 8;
    for (int f = 0; f < Count; ++f) {
        QImage image = Canvas(W, H);
        QPainter p(&image);
        p.fillRect(image.rect(), QColor(20, 20, 60));
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        for (int k = 0; k < Count; ++k) {
            p.setBrush(k == f ? QColor(255, 255, 0) : QColor(0, 153, 255));
            p.drawEllipse(QPoint(60 + k * 120, 250), k == f ? 40 : 24, k == f ? 40 : 24);
        }
        p.setPen(Qt::white);
        p.setFont(Font(150));
        p.drawText(QRect(0, 0, W, 200), Qt::AlignCenter, "4");
        p.setFont(Font(26, false));
        p.drawText(QRect(0, 170, W, 40), Qt::AlignCenter, "animated GIF 960 x 320");
        frames.push_back(image);
    }
    WriteBytes("04-wide.gif", Gif(frames, 25));
}

// --- Masks, logo, preview, banners, background ------------------------------------------

void Masks()
{
    QImage ellipse = Canvas(400, 300);
    {
        QPainter p(&ellipse);
        p.setRenderHint(QPainter::Antialiasing);
        QRadialGradient soft(200, 150, 200);
        soft.setColorAt(0.0, Qt::white);
        soft.setColorAt(0.8, Qt::white);
        soft.setColorAt(1.0, Qt::black);
        p.setBrush(soft);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(0, 0, 400, 300));
    }
    Save(ellipse, "mask-ellipse.png", "PNG");

    QImage diamond = Canvas(256, 256);
    {
        QPainter p(&diamond);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(128, 0), QPointF(256, 128), QPointF(128, 256), QPointF(0, 128)}));
    }
    Save(diamond.convertToFormat(QImage::Format_RGB888), "mask-diamond.bmp", "BMP");
}

void Logo()
{
    QImage logo = Canvas(240, 64);
    logo.fill(QColor(255, 0, 255)); // the logo's transparent colour in the manifest
    QPainter p(&logo);
    p.setFont(Font(34));
    p.setPen(QColor(20, 20, 20));
    p.drawText(logo.rect().translated(2, 2), Qt::AlignCenter, "PICTORALIA");
    p.setPen(Qt::white);
    p.drawText(logo.rect(), Qt::AlignCenter, "PICTORALIA");
    Save(logo, "logo.png", "PNG");
}

void Preview()
{
    QImage preview = Canvas(152, 112);
    QPainter p(&preview);
    FillLinear(p, preview.rect(), {0, 0}, {152, 112}, QColor(10, 20, 80), QColor(250, 140, 60));
    p.setPen(Qt::white);
    p.setFont(Font(18));
    p.drawText(preview.rect(), Qt::AlignCenter, "Pictoralia\ndemo");
    Save(preview.convertToFormat(QImage::Format_RGB888), "preview.bmp", "BMP");
}

void Banner(const char *name, const char *format, int w, int h, const QString &text, QColor a, QColor b)
{
    QImage banner = Canvas(w, h);
    QPainter p(&banner);
    FillLinear(p, banner.rect(), {0, 0}, {double(w), 0}, a, b);
    p.setPen(Qt::white);
    p.setFont(Font(h / 2));
    p.drawText(banner.rect(), Qt::AlignCenter, text);
    Save(format == QByteArray("BMP") ? banner.convertToFormat(QImage::Format_RGB888) : banner, name,
         format);
}

void Background()
{
    QImage frame = Canvas(640, 480);
    QPainter p(&frame);
    p.fillRect(frame.rect(), QColor(30, 30, 40));
    p.setPen(QPen(QColor(70, 70, 100), 2));
    for (int x = 0; x <= 640; x += 32)
        p.drawLine(x, 0, x, 480);
    for (int y = 0; y <= 480; y += 32)
        p.drawLine(0, y, 640, y);
    Save(frame, "background.png", "PNG");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: pictoralia-demo-media OUTPUT-FOLDER\n");
        return 2;
    }
    g_dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(g_dir))
        Fail("cannot create " + g_dir);

    TitlePicture();
    ShapesPicture();
    PortraitPicture();
    WideAnimatedGif();
    SmallPicture();
    ArrowPicture();
    LargePicture();
    Masks();
    Logo();
    Preview();
    Banner("banner.bmp", "BMP", 470, 62, "Pictoralia demo", QColor(40, 40, 120), QColor(0, 140, 200));
    Banner("exitbanner.png", "PNG", 468, 60, "Thanks for watching", QColor(120, 30, 60),
           QColor(240, 120, 40));
    Background();
    WriteBytes("chime.wav", ChimeWav());
    WriteBytes("melody.mid", MelodyMidi());
    return 0;
}

// A small GIF89a writer for the demo's animated picture.
#include "gif.h"

#include "bytes.h"

#include <algorithm>
#include <cstdlib>

namespace {

uint8_t PaletteIndex(QRgb c)
{
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    if (std::abs(r - g) < 8 && std::abs(g - b) < 8) {
        const int grey = (r + g + b) / 3;
        return uint8_t(216 + std::clamp(grey * 40 / 256, 0, 39));
    }
    auto level = [](int v) { return (v * 5 + 127) / 255; };
    return uint8_t(level(r) * 36 + level(g) * 6 + level(b));
}

QByteArray GifPalette()
{
    QByteArray palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette += Bytes({char(r * 51), char(g * 51), char(b * 51)});
    for (int k = 0; k < 40; ++k) {
        const char grey = char(k * 255 / 39);
        palette += Bytes({grey, grey, grey});
    }
    return palette;
}

QByteArray GifFrameData(const QImage &frame)
{
    constexpr int Clear = 256, End = 257, Bits = 9;
    QByteArray codes;
    uint32_t buffer = 0;
    int filled = 0;
    auto put = [&](int code) {
        buffer |= uint32_t(code) << filled;
        filled += Bits;
        while (filled >= 8) {
            codes += char(buffer & 0xFF);
            buffer >>= 8;
            filled -= 8;
        }
    };
    int sinceClear = 0;
    put(Clear);
    for (int y = 0; y < frame.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(frame.constScanLine(y));
        for (int x = 0; x < frame.width(); ++x) {
            if (sinceClear == 250) {
                put(Clear);
                sinceClear = 0;
            }
            put(PaletteIndex(row[x]));
            ++sinceClear;
        }
    }
    put(End);
    if (filled > 0)
        codes += char(buffer & 0xFF);

    QByteArray out;
    out += char(8); // minimum code size
    for (int i = 0; i < codes.size(); i += 255) {
        const int n = std::min<int>(255, int(codes.size()) - i);
        out += char(n);
        out += codes.mid(i, n);
    }
    out += char(0);
    return out;
}

} // namespace

QByteArray Gif(const std::vector<QImage> &frames, int delayCentiseconds)
{
    const int w = frames.front().width(), h = frames.front().height();
    QByteArray out("GIF89a");
    Put16(out, w);
    Put16(out, h);
    out += char(0xF7); // global palette of 256 colours, 8 bits per primary
    out += char(0);    // background colour
    out += char(0);    // pixel aspect
    out += GifPalette();
    if (frames.size() > 1) {
        out += QByteArray("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
        Put16(out, 0); // loop for ever
        out += char(0);
    }
    for (const QImage &frame : frames) {
        out += QByteArray("\x21\xF9\x04\x04", 4); // graphic control: keep the frame
        Put16(out, delayCentiseconds);
        out += QByteArray("\x00\x00", 2);
        out += char(0x2C);
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, w);
        Put16(out, h);
        out += char(0);
        out += GifFrameData(frame.convertToFormat(QImage::Format_RGB32));
    }
    out += char(0x3B);
    return out;
}


// Format dispatch by extension; the formats other than JPEG go through QImageReader
// after the header checks, with Qt's allocation limit as a second bound.
#include "slideshow/decoder.h"

#include "slideshow/formatcheck.h"
#include "slideshow/jpegdecode.h"
#include "slideshow/order.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace pictoralia {
namespace {

const char *QtFormatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp:
        return "bmp";
    case PictureFormat::Ico:
        return "ico";
    case PictureFormat::Gif:
        return "gif";
    case PictureFormat::Tiff:
        return "tiff";
    case PictureFormat::Png:
        return "png";
    default:
        return nullptr;
    }
}

DecodeResult DecodeWithQt(std::span<const uint8_t> file, PictureFormat format)
{
    DecodeResult result;
    QByteArray bytes = QByteArray::fromRawData(
        reinterpret_cast<const char *>(file.data()), qsizetype(file.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, QtFormatName(format));
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(int(MaxDecodedBytes >> 20));
    if (const QSize size = reader.size(); size.isValid()) {
        if (std::string why = CheckDeclaredSize(size.width(), size.height(), 4); !why.empty()) {
            result.Error = why;
            return result;
        }
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        result.Error = reader.errorString().toStdString();
        return result;
    }
    result.Picture.Width = image.width();
    result.Picture.Height = image.height();
    result.Picture.Bitmap.SetImage(image);
    if (result.Picture.Bitmap.Empty()) {
        result.Error = "out of memory for the decoded picture";
        return result;
    }
    result.Ok = true;
    return result;
}

} // namespace

PictureFormat FormatOfExtension(std::string_view ext)
{
    const std::string e = UpperExt(ext);
    if (e == ".BMP" || e == ".RLE" || e == ".DIB")
        return PictureFormat::Bmp;
    if (e == ".ICO")
        return PictureFormat::Ico;
    if (e == ".JPG" || e == ".JPE" || e == ".JPEG" || e == ".JFIF")
        return PictureFormat::Jpeg;
    if (e == ".GIF")
        return PictureFormat::Gif;
    if (e == ".TIF" || e == ".TIFF" || e == ".FAX")
        return PictureFormat::Tiff;
    if (e == ".PNG")
        return PictureFormat::Png;
    return PictureFormat::Unknown;
}

DecodeResult DecodePicture(const std::string &path, std::string_view ext, const ShownSizeFn &shown)
{
    DecodeResult result;
    const PictureFormat format = FormatOfExtension(ext);
    if (format == PictureFormat::Unknown) {
        result.Error = "no picture decoder for the extension \"" + std::string(ext) + "\"";
        return result;
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        result.Error = "cannot open " + path + ": " + file.errorString().toStdString();
        return result;
    }
    if (file.size() <= 0) {
        result.Error = "empty file";
        return result;
    }
    QByteArray copy;
    const uchar *mapped = file.map(0, file.size());
    if (!mapped)
        copy = file.readAll();
    const std::span<const uint8_t> bytes = mapped
        ? std::span<const uint8_t>(mapped, size_t(file.size()))
        : std::span<const uint8_t>(
            reinterpret_cast<const uint8_t *>(copy.constData()), size_t(copy.size()));

    std::string why;
    switch (format) {
    case PictureFormat::Jpeg:
        return DecodeJpeg(bytes, shown);
    case PictureFormat::Png:
        why = CheckPngHeader(bytes);
        break;
    case PictureFormat::Bmp:
        why = CheckBmpHeader(bytes);
        break;
    case PictureFormat::Gif:
        why = CheckGifHeader(bytes);
        break;
    default:
        break;
    }
    if (!why.empty()) {
        result.Error = why;
        return result;
    }
    result = DecodeWithQt(bytes, format);
    if (result.Ok && format == PictureFormat::Gif) {
        const GifTransparency t = GifFirstFrameTransparency(bytes);
        result.Picture.Transparent = t.Transparent;
        result.Picture.TransparentColor = t.Color;
    }
    return result;
}

} // namespace pictoralia

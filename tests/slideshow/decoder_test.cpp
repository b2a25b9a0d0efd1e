// Decoding by extension, and the bounds that keep damaged or hostile files cheap.
#include "slideshow/decoder.h"
#include "slideshow/prepare.h"
#include "testpictures.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>

using namespace pictoralia;
using test::ReadBytes;
using test::WriteBytes;

namespace {

constexpr uint32_t Red = 0xFFFF0000, Blue = 0xFF0000FF;

// 16 x 8: left half red, right half blue.
QImage Halves()
{
    QImage image(16, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, x < 8 ? Red : Blue);
    return image;
}

std::vector<uint8_t> QtBytes(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    EXPECT_TRUE(writer.write(image)) << format << ": " << writer.errorString().toStdString();
    return { bytes.begin(), bytes.end() };
}

std::vector<uint8_t> JpegBytes(const std::string &dir, int w, int h, const test::RowFn &row,
    test::JpegColor color = test::JpegColor::Rgb)
{
    const std::string path = dir + "/made.jpg";
    EXPECT_TRUE(test::WriteJpeg(path, w, h, row, 90, color));
    return ReadBytes(path);
}

void HalvesRow(int, uint8_t *row, int width)
{
    auto *p = reinterpret_cast<uint32_t *>(row);
    for (int x = 0; x < width; ++x)
        p[x] = x < width / 2 ? 0xFF0000 : 0x0000FF;
}

bool Near(TColor32 a, TColor32 b, int tolerance)
{
    for (int shift : { 0, 8, 16 }) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance)
            return false;
    }
    return true;
}

class DecoderTest : public ::testing::Test {
protected:
    std::string Put(const std::string &name, const std::vector<uint8_t> &bytes)
    {
        const std::string path = m_dir.filePath(QString::fromStdString(name)).toStdString();
        WriteBytes(path, bytes);
        return path;
    }
    std::string Dir() const { return m_dir.path().toStdString(); }

    // Decodes and fails the test when it took longer than a damaged file should.
    DecodeResult DecodeFast(const std::string &path, const std::string &ext)
    {
        const auto start = std::chrono::steady_clock::now();
        DecodeResult r = DecodePicture(path, ext);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        EXPECT_LT(ms.count(), 100) << ext << " took " << ms.count() << " ms";
        return r;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(DecoderTest, EveryExtensionDecodesItsFormat)
{
    const auto bmp = QtBytes(Halves(), "bmp"), png = QtBytes(Halves(), "png"),
               tif = QtBytes(Halves(), "tiff"), ico = QtBytes(Halves(), "ico");
    const auto jpg = JpegBytes(Dir(), 16, 8, [](int y, uint8_t *row) { HalvesRow(y, row, 16); });
    std::vector<uint8_t> indices;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            indices.push_back(x < 8 ? 0 : 1);
    const auto gif = test::GifBytes(16, 8, { 0xFF0000, 0x0000FF }, indices);

    const struct {
        const char *ext;
        const std::vector<uint8_t> &bytes;
        int tolerance;
    } rows[] = {
        { ".bmp", bmp, 0 },
        { ".RLE", bmp, 0 },
        { ".dib", bmp, 0 },
        { ".ico", ico, 0 },
        { ".JPG", jpg, 12 },
        { ".jpe", jpg, 12 },
        { ".jpeg", jpg, 12 },
        { ".JFIF", jpg, 12 },
        { ".gif", gif, 0 },
        { ".tif", tif, 0 },
        { ".TIFF", tif, 0 },
        { ".fax", tif, 0 },
        { ".png", png, 0 },
    };
    for (const auto &row : rows) {
        const DecodeResult r = DecodePicture(Put(std::string("p") + row.ext, row.bytes), row.ext);
        ASSERT_TRUE(r.Ok) << row.ext << ": " << r.Error;
        EXPECT_EQ(r.Picture.Width, 16) << row.ext;
        EXPECT_EQ(r.Picture.Height, 8) << row.ext;
        ASSERT_EQ(r.Picture.Bitmap.Width(), 16) << row.ext;
        EXPECT_TRUE(Near(r.Picture.Bitmap.Pixel(2, 4), Red, row.tolerance))
            << row.ext << std::hex << " " << r.Picture.Bitmap.Pixel(2, 4);
        EXPECT_TRUE(Near(r.Picture.Bitmap.Pixel(13, 4), Blue, row.tolerance)) << row.ext;
        EXPECT_FALSE(r.Picture.Transparent) << row.ext;
    }
}

TEST_F(DecoderTest, OtherExtensionsAndMismatchedContentFail)
{
    const auto png = QtBytes(Halves(), "png");
    const auto jpg = JpegBytes(Dir(), 16, 8, [](int y, uint8_t *row) { HalvesRow(y, row, 16); });
    const struct {
        const char *ext;
        const std::vector<uint8_t> &bytes;
    } rows[] = {
        { ".wmf", png },
        { ".EMF", png },
        { ".swf", png },
        { ".FLA", png },
        { ".xyz", png },
        { "", png },
        { ".jpg", png },
        { ".png", jpg },
        { ".gif", png },
        { ".bmp", jpg },
        { ".tif", png },
    };
    for (const auto &row : rows) {
        const DecodeResult r = DecodePicture(Put("x", row.bytes), row.ext);
        EXPECT_FALSE(r.Ok) << row.ext;
        EXPECT_FALSE(r.Error.empty()) << row.ext;
    }
    EXPECT_FALSE(DecodePicture(Dir() + "/missing.png", ".png").Ok);
    EXPECT_FALSE(DecodePicture(Put("empty", {}), ".png").Ok);
}

TEST_F(DecoderTest, CorruptJpegFails)
{
    auto jpg = JpegBytes(Dir(), 64, 64, [](int y, uint8_t *row) { HalvesRow(y, row, 64); });
    auto garbled = jpg;
    for (size_t i = 2; i < 40; ++i)
        garbled[i] = uint8_t(i * 37);
    EXPECT_FALSE(DecodeFast(Put("g.jpg", garbled), ".jpg").Ok);
    const std::vector<uint8_t> onlyStart(jpg.begin(), jpg.begin() + 20);
    EXPECT_FALSE(DecodeFast(Put("s.jpg", onlyStart), ".jpg").Ok);
}

TEST_F(DecoderTest, DeclaredSizesBeyondTheFileOrTheLimitsFailAtOnce)
{
    // A 156-byte PNG whose text chunk declares 2 GB.
    auto png = QtBytes(QImage(1, 1, QImage::Format_RGB32), "png");
    std::vector<uint8_t> textBomb(png.begin(), png.begin() + 33); // signature and IHDR
    for (const int b : { 0x7F, 0xFF, 0xFF, 0xFF, int('t'), int('E'), int('X'), int('t') })
        textBomb.push_back(uint8_t(b));
    textBomb.resize(156, 'A');
    ASSERT_EQ(textBomb.size(), 156u);

    // IHDR of 100000 x 100000 in front of a real picture's data.
    auto huge = png;
    const uint8_t side[4] = { 0x00, 0x01, 0x86, 0xA0 };
    std::memcpy(&huge[16], side, 4);
    std::memcpy(&huge[20], side, 4);

    // GIF screen of 65535 x 65535.
    auto gif = test::GifBytes(2, 2, { 0, 0xFFFFFF }, { 0, 1, 1, 0 });
    gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;

    // BMP of 30000 x 30000 and of 1000 x 1000 uncompressed pixels in 70 bytes, and of
    // 10000 x 10000 run-length encoded (within the pixel limit, beyond the bytes limit).
    auto bmp = QtBytes(QImage(2, 2, QImage::Format_RGB32), "bmp");
    auto bigBmp = bmp;
    for (int at : { 18, 22 }) {
        bigBmp[size_t(at)] = 0x30;
        bigBmp[size_t(at) + 1] = 0x75;
    }
    auto shortBmp = bigBmp;
    for (int at : { 18, 22 }) {
        shortBmp[size_t(at)] = 0xE8;
        shortBmp[size_t(at) + 1] = 0x03;
    }
    auto rleBmp = bigBmp;
    for (int at : { 18, 22 }) {
        rleBmp[size_t(at)] = 0x10;
        rleBmp[size_t(at) + 1] = 0x27;
    }
    rleBmp[28] = 8;
    rleBmp[30] = 1;

    // JPEG frame header of 65000 x 65000.
    auto jpg = JpegBytes(Dir(), 16, 16, [](int y, uint8_t *row) { HalvesRow(y, row, 16); });
    for (size_t i = 2; i + 8 < jpg.size(); ++i) {
        if (jpg[i] == 0xFF && jpg[i + 1] == 0xC0) {
            jpg[i + 5] = jpg[i + 7] = 0xFD;
            jpg[i + 6] = jpg[i + 8] = 0xE8;
            break;
        }
    }

    // TIFF directory of 60000 x 60000 one-bit pixels with ten bytes of data.
    std::vector<uint8_t> tif = { 'I', 'I', 42, 0, 8, 0, 0, 0, 8, 0 };
    auto entry = [&](uint16_t tag, uint16_t type, uint32_t value) {
        const uint8_t e[12] = { uint8_t(tag), uint8_t(tag >> 8), uint8_t(type), 0, 1, 0, 0, 0,
            uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24) };
        tif.insert(tif.end(), e, e + 12);
    };
    entry(256, 4, 60000);
    entry(257, 4, 60000);
    entry(258, 3, 1);
    entry(259, 3, 1);
    entry(262, 3, 1);
    entry(273, 4, 120);
    entry(278, 4, 60000);
    entry(279, 4, 10);
    tif.resize(130, 0);

    const struct {
        const char *what, *ext;
        const std::vector<uint8_t> &bytes;
    } rows[] = {
        { "PNG text chunk of 2 GB", ".png", textBomb },
        { "PNG of 100000 x 100000", ".png", huge },
        { "GIF of 65535 x 65535", ".gif", gif },
        { "BMP of 30000 x 30000", ".bmp", bigBmp },
        { "BMP of 1000 x 1000 in 70 bytes", ".dib", shortBmp },
        { "RLE of 10000 x 10000", ".rle", rleBmp },
        { "JPEG of 65000 x 65000", ".jpg", jpg },
        { "TIFF of 60000 x 60000", ".tif", tif },
    };
    for (const auto &row : rows) {
        const DecodeResult r = DecodeFast(Put(std::string("bomb") + row.ext, row.bytes), row.ext);
        EXPECT_FALSE(r.Ok) << row.what;
        EXPECT_FALSE(r.Error.empty()) << row.what;
    }
}

TEST_F(DecoderTest, HugeJpegDecodesScaledTowardItsShownSize)
{
    // 12000 x 8000: red left half, blue right half.
    const std::string path = Dir() + "/huge.jpg";
    ASSERT_TRUE(test::WriteJpeg(
        path, 12000, 8000, [](int y, uint8_t *row) { HalvesRow(y, row, 12000); }, 75));

    int askedW = 0, askedH = 0;
    const DecodeResult shown = DecodePicture(path, ".jpg", [&](int32_t w, int32_t h) {
        askedW = w;
        askedH = h;
        return ShownSize { 1024, 683 };
    });
    ASSERT_TRUE(shown.Ok) << shown.Error;
    EXPECT_EQ(askedW, 12000);
    EXPECT_EQ(askedH, 8000);
    EXPECT_EQ(shown.Picture.Width, 12000);
    EXPECT_EQ(shown.Picture.Height, 8000);
    EXPECT_EQ(shown.Picture.Bitmap.Width(), 1500); // 1/8 still covers 1024 x 683
    EXPECT_EQ(shown.Picture.Bitmap.Height(), 1000);
    EXPECT_TRUE(Near(shown.Picture.Bitmap.Pixel(100, 500), Red, 12));
    EXPECT_TRUE(Near(shown.Picture.Bitmap.Pixel(1400, 500), Blue, 12));

    // Shown at its own size it is decoded at the largest scale within the budget.
    const DecodeResult full = DecodePicture(path, ".jpg");
    ASSERT_TRUE(full.Ok) << full.Error;
    EXPECT_EQ(full.Picture.Bitmap.Width(), 9000);
    EXPECT_EQ(full.Picture.Bitmap.Height(), 6000);
    EXPECT_LE(
        int64_t(full.Picture.Bitmap.Width()) * full.Picture.Bitmap.Height() * 4, MaxDecodedBytes);
}

TEST_F(DecoderTest, SixteenBitPngOfAPhotoSizeIsPreparedAtScreenSize)
{
    QImage image(5000, 3500, QImage::Format_RGBA64);
    image.fill(QColor(0, 200, 0));
    const std::string path = Dir() + "/deep.png";
    ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    image = QImage();
    const auto bytes = ReadBytes(path);
    ASSERT_GT(bytes.size(), 25u);
    ASSERT_EQ(bytes[24], 16) << "the test file must have 16-bit samples";

    const PreparedPicture p
        = PreparePicture(path, ".PNG", 0, PictureTarget { 1024, 768, 0, 0xFF000000 });
    ASSERT_TRUE(p.Ok) << p.Error;
    EXPECT_EQ(p.Width, 5000);
    EXPECT_EQ(p.Height, 3500);
    EXPECT_EQ(p.Picture.Width(), 1024); // mode 0: 3500 * 1024 div 5000 = 716, halved and doubled
    EXPECT_EQ(p.Picture.Height(), 716);
    EXPECT_TRUE(Near(p.Picture.Pixel(500, 300), 0xFF00C800, 1));
}

TEST_F(DecoderTest, CmykJpegComesOutAsRgb)
{
    // Adobe CMYK files store inverted inks: (255, 0, 255, 255) is no cyan, full
    // magenta, no yellow and no black.
    const auto jpg = JpegBytes(
        Dir(), 16, 16,
        [](int, uint8_t *row) {
            for (int x = 0; x < 16; ++x) {
                row[4 * x] = 255;
                row[4 * x + 1] = 0;
                row[4 * x + 2] = 255;
                row[4 * x + 3] = 255;
            }
        },
        test::JpegColor::Cmyk);
    const DecodeResult r = DecodePicture(Put("cmyk.jpg", jpg), ".jpg");
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_TRUE(Near(r.Picture.Bitmap.Pixel(8, 8), 0xFFFF00FF, 6))
        << std::hex << r.Picture.Bitmap.Pixel(8, 8);
}

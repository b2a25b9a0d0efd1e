// Writers of test pictures.
#include "testpictures.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <jpeglib.h>

namespace pictoralia::test {

std::vector<uint8_t> GifBytes(int width, int height, const std::vector<uint32_t> &palette,
    const std::vector<uint8_t> &pixels, int transparentIndex)
{
    int bits = 1;
    while ((1 << bits) < int(palette.size()))
        ++bits;
    std::vector<uint8_t> out = { 'G', 'I', 'F', '8', '9', 'a' };
    auto put16 = [&](int v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    put16(width);
    put16(height);
    out.push_back(uint8_t(0x80 | (bits - 1))); // global colour table of 2^bits entries
    out.push_back(0);
    out.push_back(0);
    for (int i = 0; i < (1 << bits); ++i) {
        const uint32_t c = i < int(palette.size()) ? palette[size_t(i)] : 0;
        out.push_back(uint8_t(c >> 16));
        out.push_back(uint8_t(c >> 8));
        out.push_back(uint8_t(c));
    }
    if (transparentIndex >= 0)
        out.insert(out.end(), { 0x21, 0xF9, 4, 1, 0, 0, uint8_t(transparentIndex), 0 });
    out.push_back(0x2C);
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    out.push_back(0);

    // LZW with literal codes only: a clear code before the table would grow the code
    // width keeps every code minCode + 1 bits wide.
    const int minCode = std::max(2, bits);
    const int codeWidth = minCode + 1, clear = 1 << minCode, eoi = clear + 1;
    std::vector<uint8_t> data;
    uint32_t acc = 0;
    int nbits = 0;
    auto putCode = [&](int code) {
        acc |= uint32_t(code) << nbits;
        nbits += codeWidth;
        while (nbits >= 8) {
            data.push_back(uint8_t(acc));
            acc >>= 8;
            nbits -= 8;
        }
    };
    const int run = (1 << minCode) - 2;
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i % size_t(run) == 0)
            putCode(clear);
        putCode(pixels[i]);
    }
    putCode(eoi);
    if (nbits > 0)
        data.push_back(uint8_t(acc));
    out.push_back(uint8_t(minCode));
    for (size_t i = 0; i < data.size(); i += 255) {
        const size_t n = std::min<size_t>(255, data.size() - i);
        out.push_back(uint8_t(n));
        out.insert(out.end(), data.begin() + long(i), data.begin() + long(i + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

bool WriteJpeg(
    const std::string &path, int width, int height, const RowFn &row, int quality, JpegColor color)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct cinfo {};
    jpeg_error_mgr err {};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = color == JpegColor::Cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> buffer(size_t(width) * 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        row(int(cinfo.next_scanline), buffer.data());
        JSAMPROW p = buffer.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0;
}

void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> ReadBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

QImage Solid(int width, int height, uint32_t argb)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(argb);
    return image;
}

} // namespace pictoralia::test

// libjpeg decoding: errors return through longjmp to one function whose frame holds no
// object that needs unwinding between setjmp and the jump.
#include "slideshow/jpegdecode.h"

#include "slideshow/formatcheck.h"
#include "slideshow/sizing.h"

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace pictoralia {
namespace {

static_assert(std::endian::native == std::endian::little,
    "JCS_EXT_BGRA matches QImage::Format_ARGB32 only on little-endian machines");

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (corrupt data that libjpeg can step over) are tolerated, as viewers do.
void OnMessage(j_common_ptr, int) { }

// Bounds the time a progressive file can take: each scan revisits the whole picture.
void OnProgress(j_common_ptr cinfo)
{
    auto *d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (cinfo->is_decompressor && d->input_scan_number > MaxJpegScans) {
        auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
        std::snprintf(
            err->message, sizeof err->message, "more than %d progressive scans", MaxJpegScans);
        std::longjmp(err->jump, 1);
    }
}

int64_t Scaled(int64_t size, int m)
{
    return (size * m + 7) / 8;
}

// The smallest scale m/8 whose output still covers the shown size, lowered further
// while the output would exceed the decoded-image budget.
int ChooseScale(int64_t w, int64_t h, const ShownSize &shown)
{
    int m = 8;
    for (int k = 1; k <= 8; ++k) {
        if (Scaled(w, k) >= shown.Width && Scaled(h, k) >= shown.Height) {
            m = k;
            break;
        }
    }
    while (m > 1 && Scaled(w, m) * Scaled(h, m) * 4 > MaxDecodedBytes)
        --m;
    return m;
}

// Adobe CMYK as libjpeg delivers it (inverted when the Adobe marker says so).
void CmykRowToArgb(const uint8_t *cmyk, TColor32 *out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        uint32_t c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = 0xFF000000u | (c * k / 255) << 16 | (m * k / 255) << 8 | (y * k / 255);
    }
}

} // namespace

DecodeResult DecodeJpeg(std::span<const uint8_t> file, const ShownSizeFn &shown)
{
    DecodeResult result;
    std::vector<uint8_t> cmykRow;
    jpeg_decompress_struct cinfo {};
    ErrorManager err {};
    jpeg_progress_mgr progress {};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        result.Ok = false;
        result.Picture = {};
        result.Error = std::string("JPEG: ") + err.message;
        return result;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = long(MaxJpegWorkBytes);
    progress.progress_monitor = OnProgress;
    cinfo.progress = &progress;
    jpeg_mem_src(
        &cinfo, const_cast<unsigned char *>(file.data()), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);

    const int64_t w = cinfo.image_width, h = cinfo.image_height;
    if (std::string why = CheckDeclaredSize(w, h, 0); !why.empty()) {
        jpeg_destroy_decompress(&cinfo);
        result.Error = "JPEG " + why;
        return result;
    }
    const ShownSize target
        = shown ? shown(int32_t(w), int32_t(h)) : ShownSize { int32_t(w), int32_t(h) };
    cinfo.scale_num = unsigned(ChooseScale(w, h, target));
    cinfo.scale_denom = 8;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_calc_output_dimensions(&cinfo);

    result.Picture.Width = int32_t(w);
    result.Picture.Height = int32_t(h);
    TBitmap32 &bitmap = result.Picture.Bitmap;
    bitmap.SetSize(int32_t(cinfo.output_width), int32_t(cinfo.output_height));
    if (bitmap.Empty()) {
        jpeg_destroy_decompress(&cinfo);
        result.Error = "JPEG: out of memory for the decoded picture";
        return result;
    }
    if (cmyk)
        cmykRow.resize(size_t(cinfo.output_width) * 4);
    const bool inverted = cinfo.saw_Adobe_marker;

    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        const auto y = int32_t(cinfo.output_scanline);
        JSAMPROW row = cmyk ? cmykRow.data() : reinterpret_cast<JSAMPROW>(bitmap.ScanLine(y));
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            break;
        if (cmyk)
            CmykRowToArgb(cmykRow.data(), bitmap.ScanLine(y), cinfo.output_width, inverted);
    }
    // The rows are in; what follows the last scan does not matter.
    jpeg_destroy_decompress(&cinfo);
    result.Ok = true;
    return result;
}

} // namespace pictoralia

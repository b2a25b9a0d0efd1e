// Decode, GIF transparency, image flags and scaling for one item.
#include "slideshow/prepare.h"

#include "slideshow/decoder.h"
#include "slideshow/order.h"
#include "slideshow/picture.h"
#include "slideshow/sizing.h"

namespace pictoralia {

void ReplaceTransparentColor(TBitmap32 &bitmap, TColor32 transparent, TColor32 backColor)
{
    const TColor32 key = transparent & 0x00FFFFFFu, replacement = backColor & 0x00FFFFFFu;
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        TColor32 *row = bitmap.ScanLine(y);
        for (int32_t x = 0, w = bitmap.Width(); x < w; ++x) {
            if ((row[x] & 0x00FFFFFFu) == key || (row[x] >> 24) == 0)
                row[x] = replacement;
        }
    }
}

PreparedPicture PreparePicture(
    const std::string &path, std::string_view ext, uint8_t imageFlags, const PictureTarget &target)
{
    PreparedPicture out;
    const bool isGif = UpperExt(ext) == ".GIF";
    const auto shownSize = [&](int32_t w, int32_t h) {
        return PictureShownSize(target.FrameWidth, target.FrameHeight, w, h, target.SizeMode);
    };
    DecodeResult decoded = DecodePicture(path, ext, shownSize);
    if (!decoded.Ok) {
        out.Error = decoded.Error;
        return out;
    }
    out.Width = decoded.Picture.Width;
    out.Height = decoded.Picture.Height;
    out.Picture = std::move(decoded.Picture.Bitmap);
    if (isGif && decoded.Picture.Transparent)
        ReplaceTransparentColor(out.Picture, decoded.Picture.TransparentColor, target.BackColor);
    ApplyImageFlags(out.Picture, imageFlags);

    if (isGif) {
        out.Ok = true;
        return out;
    }
    // A still picture is drawn opaque: its alpha goes before it is scaled, so the
    // colours that transparent pixels store are what shows, as when it is placed.
    ResetAlpha(out.Picture);

    // Scaling here, with area averaging where it shrinks, leaves the GUI thread a copy
    // of at most screen size. A picture shown larger than the frame (natural size,
    // cropped) is left as it is: the placement draws only its visible part.
    const ShownSize shown = shownSize(out.Width, out.Height);
    if (shown.Width > 0 && shown.Height > 0 && shown.Width <= target.FrameWidth
        && shown.Height <= target.FrameHeight
        && (shown.Width != out.Picture.Width() || shown.Height != out.Picture.Height())) {
        const QImage scaled = out.Picture.Image().scaled(
            shown.Width, shown.Height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (scaled.isNull()) {
            out.Error = "out of memory while scaling the picture";
            return out;
        }
        out.Picture.SetImage(scaled);
    }
    out.Ok = true;
    return out;
}

} // namespace pictoralia

// LoadPreviewImage.
#include "slideshow/preview.h"

#include "package/entries.h"
#include "package/extract.h"
#include "package/reader.h"
#include "package/tempfiles.h"
#include "platform/swallow.h"
#include "slideshow/decoder.h"

#include <QLabel>
#include <QPixmap>
#include <cstdio>

namespace pictoralia {

void LoadPreviewImage(const std::string &exeName, QLabel &prImage, QWidget &image32)
{
    Package pkg;
    PackageReader reader;
    if (!reader.Open(exeName).Ok() || !reader.ReadHeaderAndTexts(pkg).Ok()
        || pkg.Header.PreviewPictureSize <= 0)
        return;
    reader.Close();
    const std::string path = TempFileName("SSIMG", ".BMP");
    if (path.empty())
        return;
    if (const Status s = ExtractEntry(exeName, path, PreviewEntry(pkg)); !s.Ok())
        ReportSwallowed("LoadPreviewImage", s.Error);
    prImage.setScaledContents(true);
    prImage.show();
    image32.hide();
    // Preview pictures are thumbnails; the decoder's bounds hold for any other.
    const DecodeResult decoded = DecodePicture(path, ".BMP");
    if (decoded.Ok)
        prImage.setPixmap(QPixmap::fromImage(decoded.Picture.Bitmap.Image()));
    else
        ReportSwallowed("LoadPreviewImage", decoded.Error);
    std::remove(path.c_str());
}

} // namespace pictoralia

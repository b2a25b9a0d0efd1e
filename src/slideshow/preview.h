// The whole display of preview mode: the package's preview picture, stretched over the
// small window.
#pragma once

#include <string>

class QLabel;
class QWidget;

namespace pictoralia {

// Reads the header of the package in exeName; when it has a preview picture, extracts it
// to TempFolder() + "SSIMG.BMP", shows prImage (stretched) instead of image32 with the
// picture, and deletes the file. Without a preview picture the window keeps its look.
// GUI thread.
void LoadPreviewImage(const std::string &exeName, QLabel &prImage, QWidget &image32);

} // namespace pictoralia

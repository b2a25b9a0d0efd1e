// The animation of GIF items after their first frame has been placed. The GIF
// animation issue fills these in (opening the GIF, its frame timer, drawing frames into
// GifTarget over GifBackground); until then a GIF item is a still picture.
#pragma once

#include <string>

namespace pictoralia {

// GUI thread.
class GifAnimation {
public:
    // Opens the GIF file of the item being loaded. Not yet filled.
    void LoadGif(const std::string &path);
    // Starts the frames after the first when the GIF has more than one. Not yet filled.
    void AnimateGif();
    // Stops the frames and frees the GIF. Not yet filled.
    void StopGif();
};

} // namespace pictoralia

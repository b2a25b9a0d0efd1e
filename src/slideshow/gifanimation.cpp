// The GIF animation calls, not yet filled.
#include "slideshow/gifanimation.h"

namespace pictoralia {

void GifAnimation::LoadGif(const std::string &) { }

void GifAnimation::AnimateGif() { }

void GifAnimation::StopGif() { }

} // namespace pictoralia

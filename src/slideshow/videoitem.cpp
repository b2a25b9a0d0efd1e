// The video path of LoadImage. The video issue fills it in (the media player, its
// placement, the stopped clock); until then a clip is extracted and nothing changes on
// screen, so the show goes on with the next item.
#include "slideshow/show.h"

namespace pictoralia {

void Slideshow::StartVideoItem(int32_t, const std::string &, int32_t, TBitmap32 &) { }

} // namespace pictoralia

// The desktop capture of the desktop start. The desktop issue fills it in; until then
// the frame keeps the background, which is then shown in the desktop's place.
#include "slideshow/show.h"

namespace pictoralia {

void Slideshow::CaptureDesktop(TBitmap32 &) { }

} // namespace pictoralia

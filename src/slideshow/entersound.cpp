// The enter sound of an item. The sound issue connects it to the enter-sound player;
// until then items enter silently.
#include "slideshow/show.h"

namespace pictoralia {

void Slideshow::LoadEnterSound(int32_t) { }

} // namespace pictoralia

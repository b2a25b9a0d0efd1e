// The two sample pictures the effect preview changes between (119 x 95).
#pragma once

#include <QImage>

namespace pictoralia {

// which 0: a daylight landscape; 1: an evening one, in other colours and shapes.
QImage PreviewSample(int which);

} // namespace pictoralia

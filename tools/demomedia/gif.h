// A small GIF89a writer for the demo's animated picture: a fixed palette (6x6x6 colour
// cube and 40 greys) and LZW codes that are all single pixels, with a clear code before
// the code table would grow past 9 bits. Large files, but valid for every decoder, and
// deflated in the package anyway.
#pragma once

#include <QByteArray>
#include <QImage>

#include <vector>

// An endlessly looping GIF of frames of one size, each shown for the delay.
QByteArray Gif(const std::vector<QImage> &frames, int delayCentiseconds);

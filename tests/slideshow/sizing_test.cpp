// Where pictures land on the frame in each size mode.
#include "scriptedrandom.h"
#include "slideshow/sizing.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

using namespace pictoralia;

namespace {

// Rows read "PWxPH in FWxFH mode M [draws B:V ...] -> L,T,R,B": the picture, the frame,
// the size mode, the random draws (bound and the value given) and the rectangle.
struct SizingRow {
    int32_t pw, ph, fw, fh, mode;
    test::ScriptedRandom random;
    TRect expected;
};

SizingRow Parse(const std::string &text)
{
    SizingRow row {};
    std::istringstream in(text);
    char x;
    std::string word;
    in >> row.pw >> x >> row.ph >> word >> row.fw >> x >> row.fh >> word >> row.mode >> word;
    if (word == "draws") {
        while (in >> word && word != "->") {
            int32_t bound, value;
            std::sscanf(word.c_str(), "%d:%d", &bound, &value);
            row.random.Expect(bound, value);
        }
    }
    in >> row.expected.Left >> x >> row.expected.Top >> x >> row.expected.Right >> x
        >> row.expected.Bottom;
    return row;
}

} // namespace

TEST(PictureRect, SizeModes)
{
    const char *rows[] = {
        "800x600 in 1024x768 mode 0 -> 0,0,1024,768",
        "333x500 in 1024x768 mode 0 -> 257,0,767,768", // scaled width 511 is halved first
        "2000x1000 in 1024x768 mode 0 -> 0,128,1024,640",
        "2000x1000 in 1024x768 mode 1 -> 0,0,1024,768",
        "300x200 in 1024x768 mode 2 -> 362,284,662,484",
        "1200x900 in 1024x768 mode 2 -> -88,-66,1112,834",
        "1200x900 in 1024x768 mode 3 draws 176:0 132:0 -> 0,0,1200,900",
        "1200x900 in 1024x768 mode 3 draws 176:175 132:131 -> -175,-131,1025,769",
        "300x200 in 1024x768 mode 3 draws 724:723 568:567 -> 723,567,1023,767",
        "2000x1000 in 1024x768 mode 4 -> 0,128,1024,640",
        "300x200 in 1024x768 mode 4 -> 362,284,662,484",
        "500x1000 in 1024x768 mode 4 -> 320,0,704,768",
        "2000x1000 in 1024x768 mode 5 draws 256:0 -> 0,0,1024,512",
        "2000x1000 in 1024x768 mode 5 draws 256:255 -> 0,255,1024,767",
        "500x1000 in 1024x768 mode 5 draws 640:639 -> 639,0,1023,768",
        "300x200 in 1024x768 mode 5 draws 724:0 568:10 -> 0,10,300,210",
        // Unknown modes fit the picture, enlarging it, and then place it at random.
        "300x200 in 1024x768 mode 9 draws 84:10 -> 0,10,1024,693",
        // A picture exactly the frame's width has no horizontal freedom: no draw.
        "1024x200 in 1024x768 mode 3 draws 568:7 -> 0,7,1024,207",
    };
    for (const char *text : rows) {
        SizingRow row = Parse(text);
        EXPECT_EQ(PictureRect(row.fw, row.fh, row.pw, row.ph, row.mode, row.random), row.expected)
            << text;
        EXPECT_TRUE(row.random.Done()) << text << ": fewer draws than scripted";
        const ShownSize shown = PictureShownSize(row.fw, row.fh, row.pw, row.ph, row.mode);
        EXPECT_EQ(shown.Width, row.expected.Width()) << text;
        EXPECT_EQ(shown.Height, row.expected.Height()) << text;
    }
}

TEST(FitRectCentered, RoundsHalvesToEvenAndCentres)
{
    const struct {
        int32_t dw, dh, sw, sh;
        TRect expected;
    } rows[] = {
        { 1024, 768, 321, 241, Rect(0, 0, 1023, 768) }, // 1022.97 rounds up
        { 10, 10, 1, 4, Rect(4, 0, 6, 10) }, // 2.5 -> 2
        { 10, 10, 3, 4, Rect(1, 0, 9, 10) }, // 7.5 -> 8
        { 10, 10, 4, 1, Rect(0, 4, 10, 6) }, // wider: full width, 2.5 -> 2
        { 1024, 768, 4, 3, Rect(0, 0, 1024, 768) }, // same aspect
        { 1024, 768, 0, 3, Rect(0, 0, 1024, 768) }, // a zero gives the destination
        { 0, 768, 4, 3, Rect(0, 0, 0, 768) },
    };
    for (const auto &r : rows)
        EXPECT_EQ(FitRectCentered(r.dw, r.dh, r.sw, r.sh), r.expected)
            << r.sw << "x" << r.sh << " in " << r.dw << "x" << r.dh;
}

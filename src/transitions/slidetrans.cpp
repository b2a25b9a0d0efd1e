// Effects 1-22: the new picture, cut into one to twenty pieces, slides in over the old
// one; in "Door Open" the halves of the old picture slide apart instead.
#include "transitions/families.h"
#include "transitions/fold.h"
#include "transitions/slide.h"

#include <vector>

namespace pictoralia {
namespace {

class SlideRun final : public EffectRun {
public:
    explicit SlideRun(const FamilyInput &in);
    FrameEnd Frame(FrameSink &sink) override;

private:
    // One piece of the new picture (the old one in effect 10).
    void Piece(int32_t x0, int32_t y0, int32_t steps, double dx, double dy, TRect window,
               const TBitmap32 *bitmap = nullptr)
    {
        m_slides.emplace_back().Setup(x0, y0, steps, dx, dy, window.Left, window.Top,
                                      window.Right, window.Bottom, bitmap ? bitmap : &m_new);
    }

    const TBitmap32 &m_new;
    const TBitmap32 &m_old;
    std::vector<TSlide> m_slides; // in slot order
    std::vector<TFold> m_folds;
};

SlideRun::SlideRun(const FamilyInput &in) : m_new(in.NewBitmap), m_old(in.OldBitmap)
{
    const int32_t W = in.Width, H = in.Height, S = in.Steps;
    const int32_t q = S / 4, hw = W / 2, hh = H / 2;
    const double w = W, h = H;
    const double u = w / S, v = h / S; // one step across the whole picture
    const double u2 = w / S / 2, v2 = h / S / 2;
    const TRect whole = Rect(0, 0, W, H);

    m_slides.reserve(20);
    switch (in.Index) {
    case 1: // "Slide From Up Left"
        Piece(-W, -H, S, u, v, whole);
        break;
    case 2: // "Slide From Up Right"
        Piece(W, -H, S, -u, v, whole);
        break;
    case 3: // "Slide From Bottom Right"
        Piece(W, H, S, -u, -v, whole);
        break;
    case 4: // "Slide From Bottom Left"
        Piece(-W, H, S, u, -v, whole);
        break;
    case 5: // "Slide From Left"
        Piece(-W, 0, S, u, 0, whole);
        break;
    case 6: // "Slide From Right"
        Piece(W, 0, S, -u, 0, whole);
        break;
    case 7: // "Slide From Bottom"
        Piece(0, H, S, 0, -v, whole);
        break;
    case 8: // "Slide From Up"
        Piece(0, -H, S, 0, v, whole);
        break;
    case 9: // "Door Close"
        Piece(-hw, 0, S, u2, 0, Rect(0, 0, hw, H));
        Piece(hw, 0, S, -u2, 0, Rect(hw, 0, W, H));
        break;
    case 10: { // "Door Open": the old halves move apart; a strip of the new picture
               // follows the inner edge of each half.
        Piece(Round(u2), 0, S, -u2, 0, Rect(0, 0, hw, H), &m_old);
        Piece(Round(-u2), 0, S, u2, 0, Rect(hw, 0, W, H), &m_old);
        const int32_t c = Ceil(u2);
        m_folds.emplace_back().Setup(hw - 1, 0, c, H, S, u2, 0, m_new);
        m_folds.emplace_back().Setup(hw + 1, 0, -c, H, S + 1, -u2, 0, m_new);
        break;
    }
    case 11: // "Close From Corners"
        Piece(-hw, -hh, S, u2, v2, Rect(0, 0, hw, hh));
        Piece(hw, -hh, S, -u2, v2, Rect(hw, 0, W, hh));
        Piece(-hw, hh, S, u2, -v2, Rect(0, hh, hw, H));
        Piece(hw, hh, S, -u2, -v2, Rect(hw, hh, W, H));
        break;
    case 12: // "Iris Close": the quarters arrive turning around the centre
        Piece(-hw, 0, S, u2, 0, Rect(0, 0, hw, hh));
        Piece(0, -hh, S, 0, v2, Rect(hw, 0, W, hh));
        Piece(0, hh, S, 0, -v2, Rect(0, hh, hw, H));
        Piece(hw, 0, S, -u2, 0, Rect(hw, hh, W, H));
        break;
    case 13: // "Sliding Jaws Vertical": odd columns from above, even ones from below
        for (int32_t i = 1; i <= 5; ++i)
            Piece(0, -H, S, 0, v, Rect((2 * i - 2) * W / 10, 0, (2 * i - 1) * W / 10, H));
        for (int32_t i = 1; i <= 5; ++i)
            Piece(0, H, S, 0, -v, Rect((2 * i - 1) * W / 10, 0, 2 * i * W / 10, H));
        break;
    case 15: // "Sliding Jaws Horizontal": odd bands from the left, even ones from the right
        for (int32_t i = 1; i <= 5; ++i)
            Piece(-W, 0, S, u, 0, Rect(0, (2 * i - 2) * H / 10, W, (2 * i - 1) * H / 10));
        for (int32_t i = 1; i <= 5; ++i)
            Piece(W, 0, S, -u, 0, Rect(0, (2 * i - 1) * H / 10, W, 2 * i * H / 10));
        break;
    // The staggered effects: piece i has (i - 1) q more steps and starts as much farther
    // out, so all arrive together with their last step (S is a multiple of 4).
    case 14: // "Falling Columns"
        for (int32_t i = 1; i <= 10; ++i)
            Piece(0, Round(0.75 * h * (i - 1) - H * i), (i - 1) * q + S, 0, v,
                  Rect((i - 1) * W / 10, 0, i * W / 10, H));
        break;
    case 16: // "Sliding Columns"
        for (int32_t i = 1; i <= 10; ++i)
            Piece(Round(0.75 * w * (i - 1) - W * i), 0, (i - 1) * q + S, u, 0,
                  Rect(0, (i - 1) * H / 10, W, i * H / 10));
        break;
    case 17: // "Vertical Two Part Slide"
        Piece(0, -H, S, 0, v, Rect(0, 0, hw, H));
        Piece(0, H, S, 0, -v, Rect(hw, 0, W, H));
        break;
    case 18: // "Horizontal Two Part Slide"
        Piece(-W, 0, S, u, 0, Rect(0, 0, W, hh));
        Piece(W, 0, S, -u, 0, Rect(0, hh, W, H));
        break;
    case 19: // "Sliding Columns From Sides": band k is split at W - 0.1 k W; the left
             // part enters from the left with delay k, the right part from the right
             // with delay 9 - k (the top band's right part is empty).
        for (int32_t i = 1; i <= 10; ++i)
            Piece(Round(0.75 * w * (i - 1) - W * i), 0, (i - 1) * q + S, u, 0,
                  Rect(0, (i - 1) * H / 10, Round(w - 0.1 * (i - 1) * w), i * H / 10));
        for (int32_t i = 1; i <= 10; ++i)
            Piece(Round(W * i - 0.75 * w * (i - 1)), 0, (i - 1) * q + S, -u, 0,
                  Rect(Round(0.1 * i * w), (10 - i) * H / 10, W, (11 - i) * H / 10));
        break;
    case 20: // "Sliding Columns From Up & Bottom": the same with columns; a bottom part
             // starts one row above its split point.
        for (int32_t i = 1; i <= 10; ++i)
            Piece(0, Round(0.75 * h * (i - 1) - H * i), (i - 1) * q + S, 0, v,
                  Rect((i - 1) * W / 10, 0, i * W / 10, Round(h - 0.1 * (i - 1) * h)));
        for (int32_t i = 1; i <= 10; ++i)
            Piece(0, Round(H * i - 0.75 * h * (i - 1)), (i - 1) * q + S, 0, -v,
                  Rect((10 - i) * W / 10, Round(0.1 * i * h) - 1, (11 - i) * W / 10, H));
        break;
    case 21: // "Blinds Slide Right": the picture slides within each of ten columns
    case 22: { // "Blinds Slide Left"
        const int32_t c = Ceil(w / 10);
        const bool right = in.Index == 21;
        for (int32_t i = 1; i <= 10; ++i)
            Piece(right ? -c : c, 0, S, right ? (w / 10) / S : (-w / 10) / S, 0,
                  Rect((i - 1) * W / 10, 0, i * W / 10, H));
        break;
    }
    default:
        break;
    }
}

FrameEnd SlideRun::Frame(FrameSink &sink)
{
    if (m_slides.empty())
        return FrameEnd::Stopped;
    bool more = false;
    for (TSlide &slide : m_slides) {
        more = slide.Step() || more;
        if (slide.SrcRect != TRect{})
            sink.Paint(slide.Bitmap == &m_old ? PaintProc::PaintOld : PaintProc::PaintNew,
                       slide.SrcRect, slide.DstRect);
    }
    for (TFold &fold : m_folds) {
        more = fold.Step() || more;
        if (fold.SrcRect != TRect{})
            sink.Paint(PaintProc::PaintNew, fold.SrcRect, fold.DstRect);
    }
    return more ? FrameEnd::More : FrameEnd::Last;
}

} // namespace

std::unique_ptr<EffectRun> SlideTrans(const FamilyInput &input)
{
    return std::make_unique<SlideRun>(input);
}

} // namespace pictoralia

// Effects 65-68: an edge crosses the screen revealing the new picture behind it, and the
// line of the new picture at the edge is smeared over the part still to be crossed.
#include "transitions/families.h"
#include "transitions/fold.h"

namespace pictoralia {
namespace {

class LineDropRun final : public EffectRun {
public:
    explicit LineDropRun(const FamilyInput &in)
        : m_index(in.Index), m_width(in.Width), m_height(in.Height)
    {
        const int32_t W = in.Width, H = in.Height, S = in.Steps;
        const double w = W, h = H;
        const int32_t cw = Ceil(w / S), ch = Ceil(h / S);
        switch (m_index) {
        case 1: // "Line Drop From Right": the edge runs from the left border rightwards
            m_fold.Setup(0, 0, cw, H, S, w / S, 0, in.NewBitmap);
            break;
        case 2: // "Line Drop From Left": from the right border leftwards
            m_fold.Setup(W, 0, -cw, H, S, -w / S, 0, in.NewBitmap);
            break;
        case 3: // "Line Drop From Bottom": from the top down
            m_fold.Setup(0, 0, W, ch, S, 0, h / S, in.NewBitmap);
            break;
        case 4: // "Line Drop From Up": from the bottom up
            m_fold.Setup(0, H, W, -ch, S, 0, -h / S, in.NewBitmap);
            break;
        default:
            break;
        }
    }

    // The strip's last step is not painted: S steps give S - 1 frames, each paced, and
    // the final full paint completes the picture.
    FrameEnd Frame(FrameSink &sink) override
    {
        if (!m_fold.Step() || sink.Aborted())
            return FrameEnd::Stopped;
        sink.Paint(PaintProc::PaintNew, m_fold.SrcRect, m_fold.DstRect);

        // The line at the next strip's leading edge, stretched over the area ahead of it.
        const int32_t W = m_width, H = m_height;
        const int32_t x = Round(m_fold.X), y = Round(m_fold.Y);
        switch (m_index) {
        case 1:
            sink.Paint(PaintProc::PaintNew, Rect(x, 0, x + 1, H), Rect(x, 0, W, H));
            break;
        case 2:
            sink.Paint(PaintProc::PaintNew, Rect(x, 0, x + 1, H), Rect(0, 0, x, H));
            break;
        case 3:
            sink.Paint(PaintProc::PaintNew, Rect(0, y, W, y + 1), Rect(0, y, W, H));
            break;
        case 4:
            sink.Paint(PaintProc::PaintNew, Rect(0, y, W, y + 1), Rect(0, 0, W, y));
            break;
        default:
            break;
        }
        return FrameEnd::More;
    }

private:
    int32_t m_index;
    int32_t m_width, m_height;
    TFold m_fold;
};

} // namespace

std::unique_ptr<EffectRun> LineDropTrans(const FamilyInput &input)
{
    return std::make_unique<LineDropRun>(input);
}

} // namespace pictoralia

// Frame-by-frame driving of an effect on one thread.
#include "transitions/stepper.h"

#include "transitions/catalogue.h"

#include <algorithm>

namespace pictoralia {

EffectStepper::EffectStepper(TCanvas &canvas, const TBitmap32 &picture, int32_t effect,
                             int32_t steps, Random &random, PaintObserver *observer,
                             int32_t framePeriod)
    : m_canvas(canvas), m_observer(observer), m_effect(CorrectEffect(effect, random))
{
    m_new.Assign(picture);
    m_new.Image() = picture.Image().copy();
    canvas.Snapshot(m_old, picture.Width(), picture.Height());
    m_work.SetSize(picture.Width(), picture.Height());
    if (const FamilyStart start = FamilyRoutine(m_effect)) {
        const FamilyInput input{m_new,          m_old,           m_work,
                                m_new.Width(),  m_new.Height(),  std::max(steps, 1),
                                FamilyIndex(m_effect), framePeriod, random};
        m_run = start(input);
    }
    m_ended = !m_run;
}

EffectStepper::~EffectStepper() = default;

bool EffectStepper::Step()
{
    if (m_ended)
        return false;
    const FrameEnd end = m_run->Frame(*this);
    if (end == FrameEnd::Stopped) {
        m_ended = true;
        return false;
    }
    ++m_frames;
    if (m_observer)
        m_observer->FrameDone(m_frames);
    m_ended = end == FrameEnd::Last;
    return true;
}

void EffectStepper::RunToEnd()
{
    while (Step()) {
    }
    FinalPaint();
}

void EffectStepper::FinalPaint()
{
    m_final = true;
    Paint(PaintProc::PaintNew, m_new.BoundsRect(), m_new.BoundsRect());
    m_final = false;
}

const TBitmap32 &EffectStepper::Source(PaintProc proc) const
{
    switch (proc) {
    case PaintProc::PaintOld:
        return m_old;
    case PaintProc::PaintWork:
        return m_work;
    case PaintProc::PaintNew:
        break;
    }
    return m_new;
}

void EffectStepper::Paint(PaintProc proc, const TRect &srcRect, const TRect &dstRect)
{
    const TBitmap32 &source = Source(proc);
    m_canvas.CopyRect(dstRect, source, srcRect);
    if (m_observer)
        m_observer->Painted(PaintRecord{m_frames + 1, proc, srcRect, dstRect, m_final}, source);
}

} // namespace pictoralia

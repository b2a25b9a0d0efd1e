// Start of the show, the clock and LoadImage.
#include "slideshow/show.h"

#include "package/tempfiles.h"
#include "platform/image32.h"
#include "platform/swallow.h"
#include "platform/trace.h"
#include "slideshow/color.h"
#include "slideshow/picture.h"
#include "slideshow/sizing.h"
#include "transitions/flags.h"
#include "transitions/runner.h"
#include "transitions/speed.h"

#include <cstdio>
#include <stdexcept>

namespace pictoralia {
namespace {

constexpr int32_t ShowFramePeriod = 9; // ms

bool IsVideoExt(const std::string &upperExt)
{
    return upperExt == ".ASF" || upperExt == ".WMV" || upperExt == ".AVI" || upperExt == ".MPEG"
        || upperExt == ".MPG";
}

void CopyWholeFrame(TBitmap32 &to, const TBitmap32 &frame)
{
    to.CopyRect(frame.BoundsRect(), frame, frame.BoundsRect());
}

} // namespace

Slideshow::Slideshow(const ShowWindow &window)
    : m_window(window)
    , m_pkg(window.Pkg)
    , m_overlays(window.Pkg)
    , m_loader(window.Threading)
{
}

Slideshow::~Slideshow() = default;

int32_t Slideshow::SizeModeOf(int32_t index) const
{
    const ItemRecord &item = m_pkg.Items[size_t(index)];
    return item.SizeModeOverride != -1 ? item.SizeModeOverride : m_pkg.Header.Stretch;
}

void Slideshow::ChooseNextCounter()
{
    pictoralia::ChooseNextCounter(Order, m_pkg.Header.ItemCount, m_pkg.Header.DisplayOrder,
        m_pkg.Header.OpeningFirstItem, m_pkg.Texts.DefaultEffects, m_window.Rand);
}

void Slideshow::EnableTimer()
{
    m_window.Timer.SetEnabled(true);
    Trace("timer", { { "interval", std::to_string(m_window.Timer.Interval()) } });
}

// --- the clock ---------------------------------------------------------------------

void Slideshow::StartShow()
{
    Order.ItemCounter = -1;
    if (m_pkg.Header.OpeningFirstItem && m_pkg.Header.ItemCount > 0)
        Order.ItemCounter = 0;
    else
        ChooseNextCounter();
    const bool desktopStart = m_pkg.Header.DesktopStart;
    LoadImage(Order.ItemCounter, desktopStart, [this, desktopStart] {
        if (!desktopStart)
            ChooseNextCounter();
        if (m_pkg.Header.ItemCount > 0 && !VideoPlaying) {
            if (desktopStart) {
                m_window.Timer.SetInterval(1);
                EnableTimer();
            } else {
                m_window.Timer.SetInterval(DisplayInterval(m_pkg, CurrentItem));
                if (m_pkg.Header.ItemCount != 1 || IsLoneFlashShow(m_pkg))
                    EnableTimer();
            }
        }
        m_pkg.Header.DesktopStart = false;
        PrefetchNext();
    });
}

void Slideshow::TimerTimer()
{
    if (TransitionAbort.load()) {
        m_window.Host.FinishScreenSaver(true);
        return;
    }
    m_window.Timer.SetEnabled(false);
    m_gif.StopGif();
    // A load still waiting for its item ends the tick it belongs to, clock included.
    if (m_loadPending)
        return;
    LoadImage(Order.ItemCounter, false, [this] { AfterTick(); });
}

void Slideshow::AfterTick()
{
    ChooseNextCounter();
    m_window.Timer.SetInterval(DisplayInterval(m_pkg, CurrentItem));
    const bool running = TransitionRunning.load();
    if ((m_pkg.Header.ItemCount >= 2 && !VideoPlaying && !running) || IsLoneFlashShow(m_pkg))
        EnableTimer();
    // While an effect runs the next item waits, so that its decoding does not take the
    // worker's processor; RestartTimer starts it.
    if (!running)
        PrefetchNext();
}

void Slideshow::RestartTimer()
{
    Trace("restart");
    EnableTimer();
    if (!TransitionAbort.load()) {
        m_gif.AnimateGif();
        PrefetchNext();
        return;
    }
    m_window.Host.FinishScreenSaver(true);
    m_window.Host.DisplayExitBanner();
}

// --- LoadImage ----------------------------------------------------------------------

ItemRequest Slideshow::RequestFor(int32_t index, bool fromDesktop, int32_t sizeMode) const
{
    const ItemRecord &item = m_pkg.Items[size_t(index)];
    ItemRequest r;
    r.Index = index;
    r.Decode = !fromDesktop && !IsVideoExt(UpperExt(item.Ext));
    r.ExeName = m_pkg.ExeName;
    r.Entry = ItemEntry(m_pkg, item);
    r.Ext = item.Ext;
    r.TempPath = TempFileName("SSIMG", item.Ext);
    r.ImageFlags = uint8_t(item.ImageFlags);
    r.Target = PictureTarget { m_window.Host.ClientWidth(), m_window.Host.ClientHeight(), sizeMode,
        Color32(m_pkg.Header.BackColor1) };
    return r;
}

void Slideshow::PrefetchNext()
{
    const int32_t next = Order.ItemCounter;
    if (m_loadPending || next < 0 || size_t(next) >= m_pkg.Items.size())
        return;
    const ItemRequest request = RequestFor(next, false, SizeModeOf(next));
    // A clip is extracted at its turn: its file may be the one a clip still plays from.
    if (request.Decode)
        m_loader.Prefetch(request);
}

void Slideshow::LoadImage(int32_t index, bool fromDesktop, std::function<void()> then)
{
    if (!then)
        then = [] {};
    // Steps outside the guard: background repaint, the frame, the GIF background.
    if (m_pkg.Header.RepaintBackground && !m_pkg.Header.DesktopBackground)
        m_overlays.RepaintBackground();
    const bool known = index >= 0 && size_t(index) < m_pkg.Items.size();
    ItemIsGif = known && UpperExt(m_pkg.Items[size_t(index)].Ext) == ".GIF";
    auto frame
        = std::make_shared<TBitmap32>(m_window.Host.ClientWidth(), m_window.Host.ClientHeight());
    frame->CopyRect(m_overlays.BackgroundFrame().BoundsRect(), m_overlays.BackgroundFrame(),
        m_overlays.BackgroundFrame().BoundsRect());
    if (ItemIsGif) {
        GifBackground = m_overlays.BackgroundFrame();
        m_overlays.DrawLogo(GifBackground);
        m_overlays.DrawItemCaption(index, GifBackground);
    }

    int32_t sizeMode = 0;
    try {
        if (fromDesktop) {
            CaptureDesktop(*frame);
            m_window.Image32.BeginUpdate();
            CopyWholeFrame(m_window.Image32.Bitmap(), *frame);
            m_window.Image32.EndUpdate();
        }
        if (index < 0) {
            then();
            return;
        }
        if (!known)
            throw std::runtime_error("item " + std::to_string(index) + " is beyond the item table");
        m_gif.StopGif();
        sizeMode = SizeModeOf(index);
    } catch (...) {
        ReportSwallowed("LoadImage", CurrentExceptionText());
        then();
        return;
    }

    m_loadPending = true;
    std::weak_ptr<bool> alive = m_alive;
    m_loader.Load(RequestFor(index, fromDesktop, sizeMode),
        [this, alive, index, fromDesktop, sizeMode, frame, then](ItemResult result) {
            if (alive.expired())
                return;
            m_loadPending = false;
            try {
                FinishLoad(index, fromDesktop, sizeMode, *frame, std::move(result));
            } catch (...) {
                ReportSwallowed("LoadImage", CurrentExceptionText());
            }
            then();
        });
}

void Slideshow::FinishLoad(
    int32_t index, bool fromDesktop, int32_t sizeMode, TBitmap32 &frame, ItemResult result)
{
    const ItemRecord &item = m_pkg.Items[size_t(index)];
    const std::string &path = result.Request.TempPath;
    if (!result.Extracted)
        throw std::runtime_error(result.Error);
    if (IsVideoExt(UpperExt(item.Ext))) {
        StartVideoItem(index, path, sizeMode, frame);
        return;
    }

    TCanvas *target = &m_window.Image32.Canvas();
    if (!fromDesktop) {
        if (m_pictureLoaded) {
            m_pictureLoaded = false;
            ItemPicture.reset();
            ItemMask.reset();
        }
        if (!result.Picture.Ok)
            throw std::runtime_error(result.Error);
        if (ItemIsGif)
            m_gif.LoadGif(path);
        ItemPicture = std::make_unique<TBitmap32>(std::move(result.Picture.Picture));
        m_pictureLoaded = true;
        if (item.MaskIndex >= 0) {
            ItemMask = std::make_unique<TBitmap32>();
            m_overlays.LoadMask(item.MaskIndex, *ItemMask);
        }
        // The rectangle comes from the picture's own size, whatever size it was decoded at.
        PictureRect = pictoralia::PictureRect(frame.Width(), frame.Height(), result.Picture.Width,
            result.Picture.Height, sizeMode, m_window.Rand);
        PlacePicture(*ItemPicture, frame, PictureRect, !ItemIsGif, ItemMask.get());

        CurrentPicture = index;
        CurrentItem = index;
        m_overlays.DrawLogo(frame);
        m_overlays.DrawItemCaption(CurrentPicture, frame);

        TImage32 *second = m_window.Host.SecondMonitorImage();
        MonitorToggle = second ? !MonitorToggle : true;
        TImage32 &control = MonitorToggle || !second ? m_window.Image32 : *second;
        control.BeginUpdate();
        CopyWholeFrame(control.Bitmap(), frame);
        control.EndUpdate();
        target = &control.Canvas();
        GifTarget = &control.Bitmap();
    }
    if (item.EnterSoundIndex >= 0 && !m_pkg.Header.Mute && !m_window.PreviewMode)
        LoadEnterSound(item.EnterSoundIndex);
    ShowFrame(index, fromDesktop, frame, target);
    std::remove(path.c_str());
    m_window.ShowWithoutTransition = false;
}

void Slideshow::ShowFrame(int32_t index, bool fromDesktop, TBitmap32 &frame, TCanvas *target)
{
    const TRect whole = frame.BoundsRect();
    if (m_window.ShowWithoutTransition) {
        m_window.Image32.Canvas().CopyRect(whole, frame, whole);
        if (TImage32 *second = m_window.Host.SecondMonitorImage()) {
            second->Canvas().CopyRect(whole, frame, whole);
            CopyWholeFrame(second->Bitmap(), frame);
        }
        m_gif.AnimateGif();
        if (!fromDesktop)
            Trace("item",
                { { "index", std::to_string(index) }, { "effect", "0" }, { "steps", "0" } });
        return;
    }
    const EffectChoice choice = EffectsFor(m_pkg, CurrentPicture);
    const int32_t steps = SpeedToSteps(choice.Speed, m_window.Host.ClientWidth());
    const int32_t effect = RandomEffect(choice.Selection, m_window.Rand);
    const TransitionContext context { m_window.TickClock, m_window.Rand, *target };
    std::weak_ptr<bool> alive = m_alive;
    TTransThread *thread
        = RunTransition(context, frame, effect, ShowFramePeriod, steps, false, [this, alive] {
              if (!alive.expired())
                  RestartTimer();
          });
    Trace("item",
        { { "index", std::to_string(index) }, { "effect", std::to_string(effect) },
            { "steps", std::to_string(steps) } });
    if (!thread)
        m_gif.AnimateGif();
}

} // namespace pictoralia

// The main window's show seams over the slideshow module.
#include "shell/savershow.h"

#include "platform/clock.h"
#include "platform/image32.h"
#include "platform/random.h"
#include "shell/sswindow.h"
#include "slideshow/preview.h"
#include "slideshow/show.h"

#include <QLabel>
#include <QTimer>

namespace pictoralia {
namespace {

// The window's Timer as the show's clock.
class WindowTimer final : public ShowTimer {
public:
    explicit WindowTimer(QTimer &timer)
        : m_timer(timer)
    {
    }
    void SetEnabled(bool enabled) override
    {
        if (enabled)
            m_timer.start();
        else
            m_timer.stop();
    }
    bool Enabled() const override { return m_timer.isActive(); }
    void SetInterval(int32_t ms) override { m_timer.setInterval(ms); }
    int32_t Interval() const override { return m_timer.interval(); }

private:
    QTimer &m_timer;
};

class WindowHost final : public ShowHost {
public:
    explicit WindowHost(TSSWindow &window)
        : m_window(window)
    {
    }
    void FinishScreenSaver(bool ask) override { m_window.FinishScreenSaver(ask); }
    void DisplayExitBanner() override { m_window.Show().DisplayExitBanner(m_window); }
    // The mode's preparation has given the window its final size before the show starts.
    int32_t ClientWidth() const override { return m_window.width(); }
    int32_t ClientHeight() const override { return m_window.height(); }
    TImage32 *SecondMonitorImage() const override
    {
        return m_window.MultiMonitor ? m_window.SecondMonitorImage : nullptr;
    }

private:
    TSSWindow &m_window;
};

} // namespace

struct SaverShow::Parts {
    explicit Parts(TSSWindow &window)
        : timer(*window.Timer)
        , host(window)
        , show(ShowWindow { window.Pkg, host, timer, *window.Image32, window.ShowWithoutTransition,
              window.PreviewMode, SystemClock::Instance(), DefaultRandom() })
    {
    }
    WindowTimer timer;
    WindowHost host;
    Slideshow show;
};

SaverShow::SaverShow() = default;
SaverShow::~SaverShow() = default;

Slideshow &SaverShow::Show(TSSWindow &window)
{
    if (!m_parts)
        m_parts = std::make_unique<Parts>(window);
    return m_parts->show;
}

void SaverShow::PrepareBackground(TSSWindow &window)
{
    Show(window).ShowOverlays().SetupBackground(window.width(), window.height());
}

void SaverShow::LoadPreviewImage(TSSWindow &window)
{
    pictoralia::LoadPreviewImage(window.ExeName().toStdString(), *window.PrImage, *window.Image32);
}

void SaverShow::StartShow(TSSWindow &window)
{
    Show(window).StartShow();
}

void SaverShow::TimerTick(TSSWindow &window)
{
    Show(window).TimerTimer();
}

void SaverShow::StopGif(TSSWindow &window)
{
    Show(window).Gif().StopGif();
}

} // namespace pictoralia

// The GUI thread's share of a slideshow tick and the worker's share of an item.
//
// A tick whose item was prepared ahead only places it: frame, background, the copy of
// the prepared picture, the display control's bitmap and the start of the effect (the
// runner copies the frame and snapshots the screen). That is timed on the GUI thread
// for each screen size, with no effect and with a cross-fade, as the median over --reps
// ticks, in milliseconds and as a ratio to a memcpy of one frame. The worker's time to
// prepare a large photo (extraction is not included) is printed beside it.
#include "package/reader.h"
#include "package/writer.h"
#include "platform/clock.h"
#include "platform/image32.h"
#include "platform/random.h"
#include "slideshow/prepare.h"
#include "slideshow/show.h"
#include "transitions/flags.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace pictoralia;
using Steady = std::chrono::steady_clock;

namespace {

double Ms(Steady::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

bool WaitFor(const std::function<bool()> &done)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > 60000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

std::vector<uint8_t> Encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return { bytes.begin(), bytes.end() };
}

QImage Photo(int w, int h, uint32_t seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<uint32_t *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = 0xFF000000u
                | ((uint32_t(x) * 5 + uint32_t(y) * 3 + seed * 0x9E3779u) & 0xFFFFFFu);
    }
    return image;
}

class Timer final : public ShowTimer {
public:
    void SetEnabled(bool e) override { m_enabled = e; }
    bool Enabled() const override { return m_enabled; }
    void SetInterval(int32_t ms) override { m_interval = ms; }
    int32_t Interval() const override { return m_interval; }

private:
    bool m_enabled = false;
    int32_t m_interval = 0;
};

class Host final : public ShowHost {
public:
    Host(int32_t w, int32_t h)
        : m_w(w)
        , m_h(h)
    {
    }
    void FinishScreenSaver(bool) override { }
    void DisplayExitBanner() override { }
    int32_t ClientWidth() const override { return m_w; }
    int32_t ClientHeight() const override { return m_h; }
    TImage32 *SecondMonitorImage() const override { return nullptr; }

private:
    int32_t m_w, m_h;
};

// Median GUI time of a tick whose item is ready, for one screen size and selection.
double TickMs(const std::string &dir, int32_t w, int32_t h, const std::string &effects, int reps)
{
    const std::string templatePath = dir + "/template";
    {
        QFile t(QString::fromStdString(templatePath));
        t.open(QIODevice::WriteOnly);
        t.write("template");
    }
    PackageWriter writer;
    writer.Header.Seconds = 5;
    writer.Header.Stretch = 0;
    writer.Header.EffectSpeed = 10;
    writer.Texts.Title = "Bench";
    writer.Texts.DefaultEffects = effects;
    for (uint32_t i = 0; i < 3; ++i) {
        ItemRecord r;
        r.Ext = ".jpg";
        writer.AddItem(r, EntrySource::Memory(Encoded(Photo(3000, 2000, i), "jpeg")));
    }
    const std::string saver = dir + "/bench.scr";
    Package pkg;
    if (!writer.Write(templatePath, saver).Ok() || !ReadPackage(saver, pkg).Ok())
        return -1;

    TImage32 image;
    image.resize(w, h);
    image.Bitmap().SetSize(w, h);
    Timer timer;
    Host host(w, h);
    bool showWithoutTransition = true;
    ShowWindow window { pkg, host, timer, image, showWithoutTransition, false,
        SystemClock::Instance(), DefaultRandom() };
    Slideshow show(window);
    show.ShowOverlays().SetupBackground(w, h);
    show.StartShow();
    std::vector<double> times;
    for (int i = 0; i < reps; ++i) {
        // The clock runs again (after the effect, if any) and the next item is ready.
        if (!WaitFor(
                [&] { return timer.Enabled() && !show.LoadPending() && !show.Loader().Busy(); }))
            return -1;
        const auto t0 = Steady::now();
        show.TimerTimer();
        times.push_back(Ms(Steady::now() - t0));
        if (show.LoadPending())
            return -1; // the item was not ready: not what this measures
    }
    WaitFor([] { return !TransitionRunning.load(); });
    return Median(times);
}

double MemcpyMs(int32_t w, int32_t h)
{
    std::vector<uint32_t> a(size_t(w) * size_t(h), 1), b(a.size());
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
        const auto t0 = Steady::now();
        std::memcpy(b.data(), a.data(), a.size() * 4);
        times.push_back(Ms(Steady::now() - t0));
    }
    return Median(times);
}

double PrepareMs(const std::string &path, const char *ext, int32_t w, int32_t h)
{
    const auto t0 = Steady::now();
    const PreparedPicture p = PreparePicture(path, ext, 0, PictureTarget { w, h, 0, 0xFF000000u });
    return p.Ok ? Ms(Steady::now() - t0) : -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int reps = 9;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--reps")
            reps = std::max(1, std::atoi(argv[i + 1]));
    }
    QTemporaryDir dir;
    const std::string d = dir.path().toStdString();

    std::printf("GUI thread per tick, item ready (median of %d ticks)\n", reps);
    std::printf("%-11s %-12s %9s %9s\n", "screen", "effect", "ms", "memcpys");
    for (const auto &[w, h] :
        std::vector<std::pair<int32_t, int32_t>> { { 1920, 1080 }, { 3840, 2160 } }) {
        const double base = MemcpyMs(w, h);
        for (const auto &[label, effects] : std::vector<std::pair<const char *, std::string>> {
                 { "none", "" }, { "cross-fade", std::string(1, char(115)) } }) {
            const double ms = TickMs(d, w, h, effects, reps);
            std::printf("%5dx%-5d %-12s %9.2f %9.1f\n", w, h, label, ms, ms / base);
        }
    }

    std::printf("\nworker per item, prepared for 1920x1080 (decode, scale)\n");
    const QImage photo = Photo(6000, 4000, 7);
    for (const auto &[format, ext] : std::vector<std::pair<const char *, const char *>> {
             { "jpeg", ".jpg" }, { "png", ".png" } }) {
        const std::string path = d + "/photo" + ext;
        const auto bytes = Encoded(photo, format);
        QFile f(QString::fromStdString(path));
        f.open(QIODevice::WriteOnly);
        f.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()));
        f.close();
        std::printf("6000x4000 %-5s %9.1f ms\n", ext, PrepareMs(path, ext, 1920, 1080));
    }
    return 0;
}

// pictoralia-render: runs a transition effect through the real runner onto a memory
// canvas and writes every frame as a PNG (and, on request, every paint request as a
// JSON line); or draws a contact sheet with the middle frame of every effect.
#include "pictures.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "transitions/catalogue.h"
#include "transitions/paintlog.h"
#include "transitions/runner.h"
#include "transitions/stepper.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <optional>

using namespace pictoralia;

namespace {

constexpr const char *kUsage =
    "usage: pictoralia-render effect N --size WxH --steps S [--from A.png --to B.png]\n"
    "                         --out DIR [--requests FILE]\n"
    "       pictoralia-render sheet --size WxH --steps S -o SHEET.png\n";

struct Options {
    QString command;
    int32_t effect = 0;
    int32_t width = 0, height = 0;
    int32_t steps = 0;
    QString from, to, out, requests;
};

bool ParseSize(const QString &text, int32_t &w, int32_t &h)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2)
        return false;
    bool okW = false, okH = false;
    w = parts[0].toInt(&okW);
    h = parts[1].toInt(&okH);
    return okW && okH && w > 0 && h > 0 && w <= 16384 && h <= 16384;
}

std::optional<Options> Parse(const QStringList &args)
{
    Options o;
    if (args.size() < 2)
        return std::nullopt;
    o.command = args[1];
    int i = 2;
    if (o.command == QLatin1String("effect")) {
        bool ok = false;
        if (i >= args.size())
            return std::nullopt;
        o.effect = args[i++].toInt(&ok);
        if (!ok)
            return std::nullopt;
    } else if (o.command != QLatin1String("sheet")) {
        return std::nullopt;
    }
    bool sized = false;
    while (i < args.size()) {
        const QString key = args[i++];
        if (i >= args.size())
            return std::nullopt;
        const QString value = args[i++];
        if (key == QLatin1String("--size")) {
            if (!ParseSize(value, o.width, o.height))
                return std::nullopt;
            sized = true;
        } else if (key == QLatin1String("--steps")) {
            bool ok = false;
            o.steps = value.toInt(&ok);
            if (!ok || o.steps < 1)
                return std::nullopt;
        } else if (key == QLatin1String("--from")) {
            o.from = value;
        } else if (key == QLatin1String("--to")) {
            o.to = value;
        } else if (key == QLatin1String("--out") || key == QLatin1String("-o")) {
            o.out = value;
        } else if (key == QLatin1String("--requests")) {
            o.requests = value;
        } else {
            return std::nullopt;
        }
    }
    if (!sized || o.steps < 1 || o.out.isEmpty())
        return std::nullopt;
    return o;
}

bool Save(const TBitmap32 &bitmap, const QString &path)
{
    if (bitmap.Image().save(path, "PNG"))
        return true;
    std::fprintf(stderr, "pictoralia-render: cannot write %s\n", qPrintable(path));
    return false;
}

// Writes the frames and the request log as the runner reports them.
class FrameWriter final : public PaintObserver {
public:
    FrameWriter(const TBitmap32 &screen, QString dir, QFile *requests)
        : m_screen(screen), m_dir(std::move(dir)), m_requests(requests)
    {
    }
    void Painted(const PaintRecord &record, const TBitmap32 &) override
    {
        if (m_requests) {
            m_requests->write(PaintRecordJson(record).c_str());
            m_requests->write("\n");
        }
        if (record.Final)
            m_ok = Save(m_screen, m_dir + QStringLiteral("/final.png")) && m_ok;
    }
    void FrameDone(int32_t frame) override
    {
        m_frames = frame;
        m_ok = Save(m_screen, m_dir + QStringLiteral("/frame-%1.png").arg(frame, 4, 10, QLatin1Char('0'))) &&
               m_ok;
    }
    bool Ok() const { return m_ok; }
    int32_t Frames() const { return m_frames; }

private:
    const TBitmap32 &m_screen;
    QString m_dir;
    QFile *m_requests;
    int32_t m_frames = 0;
    bool m_ok = true;
};

bool Pictures(const Options &o, TBitmap32 &from, TBitmap32 &to)
{
    if (o.from.isEmpty() != o.to.isEmpty()) {
        std::fprintf(stderr, "pictoralia-render: give both --from and --to, or neither\n");
        return false;
    }
    if (o.from.isEmpty()) {
        from = render::GeneratedPicture(o.width, o.height, 0);
        to = render::GeneratedPicture(o.width, o.height, 1);
        return true;
    }
    from = render::LoadPicture(o.from, o.width, o.height);
    to = render::LoadPicture(o.to, o.width, o.height);
    for (const auto &[bitmap, path] : {std::pair{&from, o.from}, std::pair{&to, o.to}})
        if (bitmap->Empty()) {
            std::fprintf(stderr, "pictoralia-render: cannot read %s\n", qPrintable(path));
            return false;
        }
    return true;
}

int RenderEffect(const Options &o)
{
    TBitmap32 from, to;
    if (!Pictures(o, from, to))
        return 1;
    if (!QDir().mkpath(o.out)) {
        std::fprintf(stderr, "pictoralia-render: cannot make %s\n", qPrintable(o.out));
        return 1;
    }
    std::optional<QFile> requests;
    if (!o.requests.isEmpty()) {
        requests.emplace(o.requests);
        if (!requests->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "pictoralia-render: cannot write %s\n", qPrintable(o.requests));
            return 1;
        }
    }

    TBitmap32 screen = from;
    BitmapCanvas canvas(screen);
    FrameWriter writer(screen, o.out, requests ? &*requests : nullptr);
    ManualClock clock; // the pacing waits cost nothing
    SeededRandom random;
    const TransitionContext context{clock, random, canvas, &writer};
    RunTransition(context, to, o.effect, 9, o.steps, true);
    while (TTransThread::LiveCount() > 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 100);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    if (requests)
        requests->close();
    const int32_t shown = o.effect >= 0 && o.effect <= kLastEffect ? o.effect : -1;
    std::printf("effect %d%s%s: %d frames\n", o.effect, shown > 0 ? " " : "",
                shown > 0 ? EffectAt(shown).Label.data() : "", writer.Frames());
    return writer.Ok() ? 0 : 1;
}

// The canvas after the middle frame of the effect (the new picture when it has none).
TBitmap32 MiddleFrame(int32_t effect, const TBitmap32 &from, const TBitmap32 &to, int32_t steps)
{
    int32_t frames = 0;
    {
        TBitmap32 screen = from;
        BitmapCanvas canvas(screen);
        SeededRandom random(effect);
        EffectStepper stepper(canvas, to, effect, steps, random);
        while (stepper.Step()) {
        }
        frames = stepper.Frames();
    }
    TBitmap32 screen = from;
    BitmapCanvas canvas(screen);
    SeededRandom random(effect);
    EffectStepper stepper(canvas, to, effect, steps, random);
    if (frames == 0)
        stepper.FinalPaint();
    for (int32_t k = 0; k < (frames + 1) / 2; ++k)
        stepper.Step();
    return screen;
}

int RenderSheet(const Options &o)
{
    const TBitmap32 from = render::GeneratedPicture(o.width, o.height, 0);
    const TBitmap32 to = render::GeneratedPicture(o.width, o.height, 1);
    constexpr int kColumns = 10;
    const int rows = (kLastEffect + kColumns - 1) / kColumns;
    const int gap = 4, label = 30;
    const int cellW = o.width + gap, cellH = o.height + label + gap;
    QImage sheet(kColumns * cellW + gap, rows * cellH + gap, QImage::Format_ARGB32);
    sheet.fill(QColor(34, 34, 34));
    QPainter p(&sheet);
    QFont font;
    font.setPixelSize(11);
    p.setFont(font);
    for (int32_t effect = 1; effect <= kLastEffect; ++effect) {
        const int x = gap + (effect - 1) % kColumns * cellW;
        const int y = gap + (effect - 1) / kColumns * cellH;
        p.drawImage(x, y, MiddleFrame(effect, from, to, o.steps).Image());
        const QRect text(x, y + o.height + 2, o.width, label - 2);
        p.setPen(QColor(235, 235, 235));
        const QString name = QString::number(effect) + QStringLiteral(" ") +
                             QString::fromUtf8(EffectAt(effect).Label.data(),
                                               qsizetype(EffectAt(effect).Label.size()));
        p.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   IsBuilt(effect) ? name : name + QStringLiteral(" (not built yet)"));
    }
    p.end();
    TBitmap32 out;
    out.SetImage(sheet);
    return Save(out, o.out) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::optional<Options> options = Parse(QCoreApplication::arguments());
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return options->command == QLatin1String("effect") ? RenderEffect(*options)
                                                         : RenderSheet(*options);
}

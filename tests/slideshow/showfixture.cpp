// The show fixture.
#include "showfixture.h"

#include "package/reader.h"
#include "package/writer.h"
#include "slideshow/color.h"
#include "transitions/flags.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageWriter>

namespace pictoralia::test {

std::vector<uint8_t> SolidPicture(uint32_t argb, const char *format, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(argb);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.write(image);
    return { bytes.begin(), bytes.end() };
}

TestItem Item(uint32_t argb, const std::string &ext)
{
    TestItem item;
    item.Record.Ext = ext;
    item.Bytes = SolidPicture(argb, ext == ".jpg" ? "jpeg" : ext.substr(1).c_str());
    return item;
}

ShowFixture::ShowFixture()
{
    header.Seconds = 5;
    header.Stretch = 1; // every picture covers the frame
    header.BackColor1 = 0x00404040;
    header.EffectSpeed = 10;
}

ShowFixture::~ShowFixture()
{
    show.reset();
    // A test that ends with an effect running waits for its thread to finish.
    WaitFor([] { return !TransitionRunning.load(); });
}

void ShowFixture::MakeShow(
    std::vector<TestItem> items, ItemLoader::Threading threading, bool twoMonitors)
{
    const std::string templatePath = dir.filePath("template").toStdString();
    {
        QFile t(QString::fromStdString(templatePath));
        ASSERT_TRUE(t.open(QIODevice::WriteOnly));
        t.write("template program");
    }
    PackageWriter writer;
    writer.Header = header;
    writer.Texts = texts;
    for (TestItem &item : items)
        writer.AddItem(item.Record, EntrySource::Memory(std::move(item.Bytes)));
    const std::string saver = dir.filePath("saver.scr").toStdString();
    const Status written = writer.Write(templatePath, saver);
    ASSERT_TRUE(written.Ok()) << written.Error;
    const Status read = ReadPackage(saver, pkg);
    ASSERT_TRUE(read.Ok()) << read.Error;

    image32 = std::make_unique<TImage32>();
    image32->resize(host.width, host.height);
    image32->Bitmap().SetSize(host.width, host.height);
    if (twoMonitors) {
        second = std::make_unique<TImage32>();
        second->resize(host.width, host.height);
        second->Bitmap().SetSize(host.width, host.height);
    }
    host.second = second.get();
    ShowWindow window { pkg, host, timer, *image32, showWithoutTransition, false, clock, random,
        threading };
    show = std::make_unique<Slideshow>(window);
    show->ShowOverlays().SetupBackground(host.width, host.height);
}

uint32_t ShowFixture::OnScreen(const TImage32 &control) const
{
    return control.Surface().Pixel(host.width / 2, host.height / 2);
}

bool ShowFixture::WaitFor(const std::function<bool()> &done)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > 10000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

} // namespace pictoralia::test

// A show on offscreen picture controls: a package written to disk with the package
// writer, a timer and a host that record what the show asks of them.
#pragma once

#include "package/records.h"
#include "platform/clock.h"
#include "platform/image32.h"
#include "platform/random.h"
#include "slideshow/show.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace pictoralia::test {

class RecordingTimer final : public ShowTimer {
public:
    void SetEnabled(bool enabled) override { m_enabled = enabled; }
    bool Enabled() const override { return m_enabled; }
    void SetInterval(int32_t ms) override { m_interval = ms; }
    int32_t Interval() const override { return m_interval; }

private:
    bool m_enabled = false;
    int32_t m_interval = 5000;
};

class RecordingHost final : public ShowHost {
public:
    void FinishScreenSaver(bool ask) override { finishes.push_back(ask); }
    void DisplayExitBanner() override { ++banners; }
    int32_t ClientWidth() const override { return width; }
    int32_t ClientHeight() const override { return height; }
    TImage32 *SecondMonitorImage() const override { return second; }

    std::vector<bool> finishes;
    int banners = 0;
    int32_t width = 64, height = 48;
    TImage32 *second = nullptr;
};

struct TestItem {
    std::vector<uint8_t> Bytes;
    ItemRecord Record; // Ext and the fields the test sets
};

// A solid picture file of the given extension's format.
std::vector<uint8_t> SolidPicture(uint32_t argb, const char *format, int w = 32, int h = 24);
TestItem Item(uint32_t argb, const std::string &ext = ".png");

class ShowFixture : public ::testing::Test {
protected:
    ShowFixture();
    ~ShowFixture() override;

    // Writes the package (header and texts as given, items appended) and makes the show.
    void MakeShow(std::vector<TestItem> items,
        ItemLoader::Threading threading = ItemLoader::Threading::Inline, bool twoMonitors = false);
    // The colour on screen of a control, in the middle of the frame.
    uint32_t OnScreen(const TImage32 &control) const;
    uint32_t OnScreen() const { return OnScreen(*image32); }
    // Runs the event loop until done() or ten seconds have passed.
    bool WaitFor(const std::function<bool()> &done);

    QTemporaryDir dir;
    PackageHeader header;
    PackageTexts texts;
    Package pkg;
    RecordingTimer timer;
    RecordingHost host;
    ManualClock clock;
    SeededRandom random { 1 };
    bool showWithoutTransition = true;
    std::unique_ptr<TImage32> image32, second;
    std::unique_ptr<Slideshow> show;
};

} // namespace pictoralia::test

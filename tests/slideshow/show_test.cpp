// The show on offscreen controls: what is on screen after each tick, and the clock.
#include "package/tempfiles.h"
#include "platform/swallow.h"
#include "showfixture.h"
#include "transitions/flags.h"

#include <QFileInfo>
#include <chrono>

using namespace pictoralia;
using namespace pictoralia::test;

namespace {

constexpr uint32_t Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF;

class Show : public ShowFixture { };

} // namespace

TEST_F(Show, AnEmptySelectionChangesAtOnceAndRestartsTheClockInTheSameTick)
{
    MakeShow({ Item(Red), Item(Green), Item(Blue) });
    show->StartShow();
    EXPECT_EQ(OnScreen(), Red);
    EXPECT_FALSE(showWithoutTransition);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 5000);

    for (const uint32_t expected : { Green, Blue, Red }) {
        show->TimerTimer();
        EXPECT_EQ(OnScreen(), expected);
        EXPECT_FALSE(TransitionRunning.load());
        EXPECT_TRUE(timer.Enabled());
        EXPECT_EQ(timer.Interval(), 5000);
    }
    EXPECT_EQ(show->CurrentItem, 0);
    EXPECT_EQ(show->Order.ItemCounter, 1);
}

TEST_F(Show, AnItemsDurationCountsFromTheEndOfItsTransition)
{
    texts.DefaultEffects = "\x05"; // a slide
    std::vector<TestItem> items = { Item(Red), Item(Green) };
    items[1].Record.Duration = 12;
    MakeShow(std::move(items));
    show->StartShow(); // the first item without an effect
    EXPECT_EQ(OnScreen(), Red);
    EXPECT_EQ(timer.Interval(), 5000);

    show->TimerTimer();
    EXPECT_TRUE(TransitionRunning.load());
    EXPECT_FALSE(timer.Enabled()) << "the clock waits for the effect";
    EXPECT_EQ(timer.Interval(), 12000);
    ASSERT_TRUE(WaitFor([&] { return timer.Enabled(); }));
    EXPECT_EQ(timer.Interval(), 12000);
    EXPECT_EQ(OnScreen(), Green);

    show->TimerTimer();
    ASSERT_TRUE(WaitFor([&] { return timer.Enabled(); }));
    EXPECT_EQ(OnScreen(), Red);
    EXPECT_EQ(timer.Interval(), 5000);
}

TEST_F(Show, ACorruptJpegKeepsThePreviousPictureAndTheShowGoesOn)
{
    TestItem corrupt = Item(Green, ".jpg");
    for (size_t i = 2; i < 60; ++i)
        corrupt.Bytes[i] = uint8_t(i * 91);
    MakeShow({ Item(Red), corrupt, Item(Blue, ".bmp") });
    show->StartShow();
    ASSERT_EQ(OnScreen(), Red);
    ASSERT_TRUE(show->ItemPicture);

    const uint64_t swallowed = SwallowedCount();
    show->TimerTimer();
    EXPECT_EQ(OnScreen(), Red);
    EXPECT_EQ(show->CurrentItem, 0);
    EXPECT_EQ(show->CurrentPicture, 0);
    EXPECT_FALSE(show->ItemPicture) << "a failed decode frees the previous picture";
    EXPECT_EQ(SwallowedCount(), swallowed + 1) << "the failure is reported";
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(TempFileName("SSIMG", ".jpg"))))
        << "the extracted file of a failed load stays";
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(show->Order.ItemCounter, 2);

    show->TimerTimer();
    EXPECT_EQ(OnScreen(), Blue);
    EXPECT_EQ(show->CurrentItem, 2);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(TempFileName("SSIMG", ".bmp"))))
        << "a placed item's file is deleted";
}

TEST_F(Show, AOneItemShowStopsItsClockUnlessItIsFlash)
{
    MakeShow({ Item(Red) });
    show->StartShow();
    EXPECT_EQ(OnScreen(), Red);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_TRUE(pkg.Texts.DefaultEffects.empty());

    TestItem flash;
    flash.Record.Ext = ".swf";
    flash.Bytes = { 'F', 'W', 'S', 9 };
    show.reset();
    pkg = Package();
    showWithoutTransition = true;
    MakeShow({ flash });
    const uint32_t before = OnScreen();
    show->StartShow();
    EXPECT_EQ(OnScreen(), before) << "the decoder rejects Flash items";
    EXPECT_EQ(show->CurrentItem, -1);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 5000);
    show->TimerTimer();
    EXPECT_TRUE(timer.Enabled()) << "a lone Flash item keeps the clock ticking";
}

TEST_F(Show, TwoMonitorsShowTheFirstPictureOnBothThenAlternate)
{
    MakeShow({ Item(Red), Item(Green), Item(Blue) }, ItemLoader::Threading::Inline, true);
    show->StartShow();
    EXPECT_EQ(OnScreen(*image32), Red);
    EXPECT_EQ(OnScreen(*second), Red);
    show->TimerTimer();
    EXPECT_EQ(OnScreen(*second), Green) << "the second item goes to the second monitor";
    EXPECT_EQ(OnScreen(*image32), Red);
    show->TimerTimer();
    EXPECT_EQ(OnScreen(*image32), Blue);
    EXPECT_EQ(OnScreen(*second), Green);
}

TEST_F(Show, DesktopStartShowsTheDesktopFirstAndTheFirstItemOneMillisecondLater)
{
    header.DesktopStart = true;
    texts.DefaultEffects = "\x05";
    MakeShow({ Item(Red), Item(Green) });
    show->StartShow();
    EXPECT_EQ(show->Order.ItemCounter, 0) << "the start does not advance the order";
    EXPECT_EQ(show->CurrentItem, -1);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1);
    EXPECT_FALSE(pkg.Header.DesktopStart);

    show->TimerTimer();
    EXPECT_TRUE(TransitionRunning.load()) << "the first item arrives with an effect";
    ASSERT_TRUE(WaitFor([&] { return timer.Enabled(); }));
    EXPECT_EQ(OnScreen(), Red);
    EXPECT_EQ(show->CurrentItem, 0);
}

TEST_F(Show, AStopDuringAnEffectFinishesWhenTheEffectEnds)
{
    texts.DefaultEffects = "\x05";
    MakeShow({ Item(Red), Item(Green) });
    show->StartShow();
    show->TimerTimer();
    ASSERT_TRUE(TransitionRunning.load());
    TransitionAbort.store(true);
    ASSERT_TRUE(WaitFor([&] { return !host.finishes.empty(); }));
    EXPECT_EQ(host.finishes, std::vector<bool> { true });
    EXPECT_EQ(host.banners, 1);
    TransitionAbort.store(false);
}

TEST_F(Show, TheNextItemIsDecodedAheadSoItsTickNeedsNoWait)
{
    // Big enough that decoding takes a while; the frame stays small.
    std::vector<TestItem> items;
    for (const uint32_t c : { Red, Green, Blue }) {
        TestItem item;
        item.Record.Ext = ".png";
        item.Bytes = SolidPicture(c, "png", 3000, 2000);
        items.push_back(std::move(item));
    }
    MakeShow(std::move(items), ItemLoader::Threading::Worker);

    const auto start = std::chrono::steady_clock::now();
    show->StartShow();
    const auto startMs = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start)
                             .count();
    EXPECT_LT(startMs, 50) << "decoding happens on the worker";
    EXPECT_TRUE(show->LoadPending());
    EXPECT_FALSE(timer.Enabled()) << "the clock starts once the first item is on screen";
    ASSERT_TRUE(WaitFor([&] { return !show->LoadPending(); }));
    EXPECT_EQ(OnScreen(), Red);
    EXPECT_TRUE(timer.Enabled());

    // The next item is prepared while the first is on screen: its tick completes inside
    // the call.
    ASSERT_TRUE(WaitFor([&] { return !show->Loader().Busy(); }));
    const int32_t jobs = show->Loader().JobsStarted();
    show->TimerTimer();
    EXPECT_FALSE(show->LoadPending());
    EXPECT_EQ(OnScreen(), Green);
    EXPECT_EQ(show->Loader().JobsStarted(), jobs + 1) << "only the prefetch of the item after";
}

TEST_F(Show, ThePictureRectangleComesFromThePicturesOwnSizeWhenDecodedScaled)
{
    // 1001 x 500 decodes at 1/8 as 126 x 63 for a 64 x 48 frame. Resized to fit, its
    // own size gives a height of 500 * 64 div 1001 = 31, halved to 30; the decoded
    // size would give 32.
    header.Stretch = 0;
    TestItem jpeg;
    jpeg.Record.Ext = ".jpg";
    jpeg.Bytes = SolidPicture(Red, "jpeg", 1001, 500);
    MakeShow({ jpeg });
    show->StartShow();
    EXPECT_EQ(show->PictureRect, Rect(0, 9, 64, 39));
    ASSERT_TRUE(show->ItemPicture);
    EXPECT_EQ(show->ItemPicture->Width(), 64);
    EXPECT_EQ(show->ItemPicture->Height(), 30);
}

// The slideshow of the saver: start of the show, the clock's tick and restart, and
// LoadImage, which turns one item into the next screen picture.
#pragma once

#include "package/records.h"
#include "platform/bitmap32.h"
#include "platform/clock.h"
#include "platform/geometry.h"
#include "platform/random.h"
#include "slideshow/gifanimation.h"
#include "slideshow/loader.h"
#include "slideshow/order.h"
#include "slideshow/overlays.h"

#include <functional>
#include <memory>
#include <optional>

namespace pictoralia {

class TCanvas;
class TImage32;

// The main window's slideshow Timer.
class ShowTimer {
public:
    virtual ~ShowTimer() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetInterval(int32_t ms) = 0;
    virtual int32_t Interval() const = 0;
};

// What the show calls in the main window.
class ShowHost {
public:
    virtual ~ShowHost() = default;
    virtual void FinishScreenSaver(bool ask) = 0;
    virtual void DisplayExitBanner() = 0;
    // The main window's client size: the size of every frame.
    virtual int32_t ClientWidth() const = 0;
    virtual int32_t ClientHeight() const = 0;
    // With two or more monitors: the picture control over the second one (made after
    // the show's objects, so asked for when needed).
    virtual TImage32 *SecondMonitorImage() const = 0;
};

// The window's parts the show works with; all outlive the Slideshow.
struct ShowWindow {
    Package &Pkg;
    ShowHost &Host;
    ShowTimer &Timer;
    TImage32 &Image32;
    bool &ShowWithoutTransition; // the window's flag: the next item replaces the screen at once
    bool PreviewMode = false;
    Clock &TickClock;
    Random &Rand;
    ItemLoader::Threading Threading = ItemLoader::Threading::Worker;
};

// GUI thread only.
class Slideshow {
public:
    explicit Slideshow(const ShowWindow &window);
    ~Slideshow();
    Slideshow(const Slideshow &) = delete;
    Slideshow &operator=(const Slideshow &) = delete;

    // Saver mode, at the end of the window's creation: the first item at once, then the
    // clock. The first item may still be decoding when this returns; the clock starts
    // when it is on screen.
    void StartShow();
    // Timer's handler.
    void TimerTimer();
    // The OnTerminate of every transition thread of the show.
    void RestartTimer();
    void ChooseNextCounter();

    // Index -1 = no item. Extraction and decoding run on the loader's worker; `then`
    // runs once the load has ended, placed or failed (inside this call when the item
    // was ready). A failed load changes nothing on screen.
    void LoadImage(int32_t index, bool fromDesktop, std::function<void()> then = {});
    // Whether a LoadImage waits for its item.
    bool LoadPending() const { return m_loadPending; }

    Overlays &ShowOverlays() { return m_overlays; }
    GifAnimation &Gif() { return m_gif; }
    const ItemLoader &Loader() const { return m_loader; }

    // Show state, read by the wallpaper, GIF and video code.
    ItemOrder Order; // ItemCounter and MixedDeck
    int32_t CurrentItem = -1; // the item loaded last (picture, GIF or clip)
    int32_t CurrentPicture = -1; // the item whose picture is on screen; -1 during a clip
    bool VideoPlaying = false;
    // The current still picture or GIF after its image flags (a still picture already
    // scaled to PictureRect's size when that lies within the frame) and its mask.
    std::unique_ptr<TBitmap32> ItemPicture;
    std::unique_ptr<TBitmap32> ItemMask;
    TRect PictureRect;
    bool ItemIsGif = false;
    TBitmap32 GifBackground; // background with logo and caption, under GIF frames
    TBitmap32 *GifTarget = nullptr; // bitmap of the control that shows the current picture
    bool MonitorToggle = false;

private:
    // Seams that later issues fill (videoitem.cpp, entersound.cpp, desktop.cpp).
    void StartVideoItem(int32_t index, const std::string &path, int32_t sizeMode, TBitmap32 &frame);
    void LoadEnterSound(int32_t index);
    void CaptureDesktop(TBitmap32 &frame);

    ItemRequest RequestFor(int32_t index, bool fromDesktop, int32_t sizeMode) const;
    void PrefetchNext();
    void FinishLoad(
        int32_t index, bool fromDesktop, int32_t sizeMode, TBitmap32 &frame, ItemResult result);
    void ShowFrame(int32_t index, bool fromDesktop, TBitmap32 &frame, TCanvas *target);
    void AfterTick();
    void EnableTimer();
    int32_t SizeModeOf(int32_t index) const;

    ShowWindow m_window;
    Package &m_pkg;
    Overlays m_overlays;
    GifAnimation m_gif;
    ItemLoader m_loader;
    bool m_pictureLoaded = false;
    bool m_loadPending = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace pictoralia

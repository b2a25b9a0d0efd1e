// What the main window hands over to the show, the sound, the wallpaper and the
// banners. Each call has an empty default, so the window runs its whole life cycle
// before those modules exist; they override what is theirs.
#pragma once

namespace pictoralia {

class TSSWindow;

// The modules below the shell cannot see TSSWindow: their seams are implemented in the
// shell (a subclass handed to RunProgram) and call down into the modules with the
// window's parts (Image32, PrImage, Timer, Pkg, the players, SecondMonitorImage...).
// GUI thread only. The window owns its seams and outlives no call into them.
class ShowSeams {
public:
    virtual ~ShowSeams() = default;

    // ReadData, saver mode: the background bitmap and picture, the logo (steps 9-10);
    // the playlist from the melody table or the user's list (step 11).
    virtual void PrepareBackground(TSSWindow &) {}
    virtual void BuildPlaylist(TSSWindow &) {}
    // Program start, configuration and password mode: the playlist editor and the
    // About window.
    virtual void CreateDialogWindows(TSSWindow &) {}

    // Preview mode: the package's preview picture into PrImage.
    virtual void LoadPreviewImage(TSSWindow &) {}
    // Saver mode, music: a shuffled pick (ShuffleMelody) or the current melody.
    virtual void SndPlayNotify(TSSWindow &) {}
    virtual void LoadMelody(TSSWindow &, int /*index*/) {}
    // Saver mode: the first item, the Timer and its interval.
    virtual void StartShow(TSSWindow &) {}
    // A tick of Timer once no stop is pending: the next item.
    virtual void TimerTick(TSSWindow &) {}
    virtual void StopGif(TSSWindow &) {}
    // F2 while keys would end the saver.
    virtual void SetCurrentImageAsWallpaper(TSSWindow &) {}
    // The exit banner as a modal window, when the package has one.
    virtual void DisplayExitBanner(TSSWindow &) {}
};

} // namespace pictoralia

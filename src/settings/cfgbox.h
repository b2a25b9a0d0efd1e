// CfgBox: the configuration dialog panel of the main window (513 x 381): banner strip,
// the five pages of settings, the credit line and the About, Website and Close buttons.
// The controls carry the design's names, as members and as object names; handlers are
// thin slots into dialoglogic.h. Buttons whose windows come from elsewhere (About,
// Website, banner, credit line, playlist editor, effect preview) only emit a signal.
// GUI thread only.
#pragma once

#include "platform/image32.h"
#include "settings/dialogwidgets.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QWidget>

namespace pictoralia {

class CfgBox final : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 513;
    static constexpr int DesignHeight = 381;

    // effectNames: the labels of effects 1, 2, ... in effect-number order (the
    // transition catalogue's), listed in lbEffects.
    explicit CfgBox(const QStringList &effectNames, QWidget *parent = nullptr);

    // Banner strip (hidden as designed; the configuration set-up shows it).
    QFrame *BannerPlaceHolderPanel;
    QFrame *PanelWebBanner;
    ClickableLabel *imgBanner;

    QWidget *ConfigControlsPanel;
    QTabWidget *PageControl;

    QWidget *tsGeneral;
    TaggedGroupBox *GroupBox3;
    QLabel *Label12;
    QSpinBox *edSeconds;
    QLabel *Label13;
    TaggedGroupBox *gbOrder;
    QRadioButton *rbSequential;
    QRadioButton *rbRandom;
    QRadioButton *rbMixed;
    TaggedGroupBox *GroupBox2;
    QCheckBox *cbDesktop;

    QWidget *tsPosition;
    TaggedGroupBox *gbSize;
    QRadioButton *rbSizeResize;
    QRadioButton *rbSizeResizeBig;
    QRadioButton *rbSizeStretch;
    QRadioButton *rbSizeNone;
    QLabel *Label37;
    TaggedGroupBox *gbPosition;
    QRadioButton *rbPosCenter;
    QRadioButton *rbPosRandom;

    QWidget *tsEffects;
    TaggedGroupBox *GroupBox9;
    QListWidget *lbEffects;
    QPushButton *btnSelectAll;
    QPushButton *btnSelectNone;
    QFrame *Panel3;
    TImage32 *ImgPreviewTrans;
    TImage32 *ImgPT1;
    TImage32 *ImgPT2;
    TaggedGroupBox *GroupBox6;
    QLabel *Label16;
    QSlider *tbEffectSpeed;
    QLabel *Label26;

    QWidget *tsSound;
    TaggedGroupBox *GroupBox10;
    QCheckBox *cbMute;
    TaggedGroupBox *gbPlaylist;
    QRadioButton *rbPlayBuiltIn;
    QRadioButton *rbPlayMyOwn;
    QPushButton *btnPlaylistEditor;
    QCheckBox *cbLoop;
    QCheckBox *cbShuffle;
    QCheckBox *cbPlayOneRandom;

    QWidget *tsBehavior;
    TaggedGroupBox *GroupBox12;
    QCheckBox *cbExitMouseMove;
    QCheckBox *cbExitMouseButton;
    QCheckBox *cbExitKeyboard;
    QCheckBox *cbExitEscape;

    ClickableLabel *Link;
    QPushButton *btnAbout;
    QPushButton *btnWebsite;
    QPushButton *btnClose;

signals:
    // Seams for the windows and actions other modules own.
    void AboutClicked();
    void WebsiteClicked();
    void BannerClicked();
    void CreditLinkClicked();
    void PlaylistEditorClicked();
    void EffectsListClicked(); // lbEffects' current row is the effect to preview

public slots:
    void btnSelectAllClick();
    void btnSelectNoneClick();
    void cbExitKeyboardClick(); // shared by the four exit check boxes
    void rbSizeResizeClick();   // shared by the four size radio buttons
    void rbPosCenterClick();    // shared by the two position radio buttons
    void rbSequentialClick();   // shared by the three order radio buttons
    void btnCloseClick();       // closes the window the panel is in
    void btnAboutClick() { emit AboutClicked(); }
    void btnWebsiteClick() { emit WebsiteClicked(); }
    void imgBannerClick() { emit BannerClicked(); }
    void LinkClick() { emit CreditLinkClicked(); }
    void btnPlaylistEditorClick() { emit PlaylistEditorClicked(); }
    void lbEffectsClick() { emit EffectsListClicked(); }

protected:
    // Enter anywhere but on another button presses Close, the default button (Esc, the
    // cancel key, is a shortcut of the window).
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildGeneralPage();
    void buildPositionPage();
    void buildEffectsPage(const QStringList &effectNames);
    void buildSoundPage();
    void buildBehaviorPage();
};

} // namespace pictoralia

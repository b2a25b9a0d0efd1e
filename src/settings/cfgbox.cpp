// The configuration panel's controls, their design values and their handlers.
#include "settings/cfgbox.h"

#include "settings/dialoglogic.h"
#include "settings/previewsamples.h"
#include "settings/settingstable.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QShortcut>
#include <QVBoxLayout>

namespace pictoralia {
namespace {

constexpr int PageControlWidth = 399;
constexpr int PageControlHeight = 281;
constexpr int BannerPanelHeight = 69;
constexpr int GroupWidth = 375;
constexpr int PlaylistWidth = 367; // the playlist group and the group above it
constexpr int PlaylistHeight = 159;
constexpr int PreviewWidth = 119;
constexpr int PreviewHeight = 95;

template <class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

TaggedGroupBox *group(QWidget *page, const char *name, const char *title, QRect geometry)
{
    auto *box = named(new TaggedGroupBox(QString::fromLatin1(title), page), name);
    box->setGeometry(geometry);
    return box;
}

// A column of buttons inside a group, top to bottom.
QVBoxLayout *column(QWidget *group)
{
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(12, 4, 10, 6);
    layout->setSpacing(2);
    return layout;
}

QPushButton *button(QWidget *parent, const char *name, const char *caption)
{
    auto *b = named(new QPushButton(QString::fromLatin1(caption), parent), name);
    b->setAutoDefault(true); // Enter on a focused button presses that button
    return b;
}

// Geometry of settings a control holds: its range comes from the settings table.
void setRange(QSpinBox *spin, SettingId id) { spin->setRange(Setting(id).Minimum, Setting(id).Maximum); }
void setRange(QSlider *slider, SettingId id) { slider->setRange(Setting(id).Minimum, Setting(id).Maximum); }

TImage32 *image(QWidget *parent, const char *name, QRect geometry)
{
    auto *img = named(new TImage32(parent), name);
    img->setGeometry(geometry);
    return img;
}

} // namespace

CfgBox::CfgBox(const QStringList &effectNames, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CfgBox"));
    setFixedSize(DesignWidth, DesignHeight);
    // A panel paints its own face: the main window behind it is black by design. Every
    // role is set, so the window's palette does not reach the controls.
    QPalette face = QGuiApplication::palette();
    for (int g = 0; g < QPalette::NColorGroups; ++g) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto group = QPalette::ColorGroup(g);
            const auto role = QPalette::ColorRole(r);
            face.setBrush(group, role, face.brush(group, role));
        }
    }
    setPalette(face);
    setAutoFillBackground(true);
    QFont f = font();
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    f.setPixelSize(11);
    setFont(f);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    BannerPlaceHolderPanel = named(new QFrame(this), "BannerPlaceHolderPanel");
    BannerPlaceHolderPanel->setFixedHeight(BannerPanelHeight);
    BannerPlaceHolderPanel->hide();
    PanelWebBanner = named(new QFrame(BannerPlaceHolderPanel), "PanelWebBanner");
    PanelWebBanner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelWebBanner->setGeometry((DesignWidth - 470) / 2, (BannerPanelHeight - 62) / 2, 470, 62);
    PanelWebBanner->hide();
    imgBanner = named(new ClickableLabel(PanelWebBanner), "imgBanner");
    imgBanner->setAlignment(Qt::AlignCenter);
    imgBanner->setGeometry(PanelWebBanner->contentsRect());
    outer->addWidget(BannerPlaceHolderPanel);

    ConfigControlsPanel = named(new QWidget(this), "ConfigControlsPanel");
    ConfigControlsPanel->hide();
    outer->addWidget(ConfigControlsPanel, 1);

    PageControl = named(new FixedTabWidget(QSize(76, 20), ConfigControlsPanel), "PageControl");
    PageControl->setGeometry(8, 8, PageControlWidth, PageControlHeight);
    buildGeneralPage();
    buildPositionPage();
    buildEffectsPage(effectNames);
    buildSoundPage();
    buildBehaviorPage();
    PageControl->setCurrentIndex(0);

    const int buttonsX = 8 + PageControlWidth + 8;
    const int buttonsWidth = DesignWidth - buttonsX - 8;
    btnAbout = button(ConfigControlsPanel, "btnAbout", "About...");
    btnAbout->setGeometry(buttonsX, 30, buttonsWidth, 25);
    btnWebsite = button(ConfigControlsPanel, "btnWebsite", "Website...");
    btnWebsite->setGeometry(buttonsX, 62, buttonsWidth, 25);
    btnClose = button(ConfigControlsPanel, "btnClose", "Close");
    btnClose->setGeometry(buttonsX, 8 + PageControlHeight - 25, buttonsWidth, 25);
    btnClose->setDefault(true);

    Link = named(new ClickableLabel(QStringLiteral("This screen saver was created with Pictoralia"), ConfigControlsPanel), "Link");
    QFont linkFont = Link->font();
    linkFont.setUnderline(true);
    Link->setFont(linkFont);
    QPalette linkPalette = Link->palette();
    linkPalette.setColor(QPalette::WindowText, Qt::blue);
    Link->setPalette(linkPalette);
    Link->setCursor(Qt::PointingHandCursor);
    Link->setGeometry(10, 8 + PageControlHeight + 6, PageControlWidth, 14);

    connect(btnClose, &QPushButton::clicked, this, &CfgBox::btnCloseClick);
    connect(btnAbout, &QPushButton::clicked, this, &CfgBox::btnAboutClick);
    connect(btnWebsite, &QPushButton::clicked, this, &CfgBox::btnWebsiteClick);
    connect(imgBanner, &ClickableLabel::clicked, this, &CfgBox::imgBannerClick);
    connect(Link, &ClickableLabel::clicked, this, &CfgBox::LinkClick);
    // Close is also the cancel button.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, btnClose, &QPushButton::click);
}

void CfgBox::buildGeneralPage()
{
    tsGeneral = named(new QWidget, "tsGeneral");
    PageControl->addTab(tsGeneral, QStringLiteral("General"));

    GroupBox3 = group(tsGeneral, "GroupBox3", "Image Duration", QRect(8, 6, GroupWidth, 56));
    Label12 = named(new QLabel(QStringLiteral("&Display each image for"), GroupBox3), "Label12");
    edSeconds = named(new QSpinBox(GroupBox3), "edSeconds");
    setRange(edSeconds, SettingId::Seconds);
    edSeconds->setValue(5);
    edSeconds->setFixedWidth(56);
    Label12->setBuddy(edSeconds);
    Label13 = named(new QLabel(QStringLiteral("seconds"), GroupBox3), "Label13");
    auto *row = new QHBoxLayout(GroupBox3);
    row->setContentsMargins(12, 4, 10, 6);
    row->addWidget(Label12);
    row->addWidget(edSeconds);
    row->addWidget(Label13);
    row->addStretch(1);

    gbOrder = group(tsGeneral, "gbOrder", "Item Order", QRect(8, 68, GroupWidth, 92));
    rbSequential = named(new QRadioButton(QStringLiteral("&Sequential"), gbOrder), "rbSequential");
    rbRandom = named(new QRadioButton(QStringLiteral("&Random"), gbOrder), "rbRandom");
    rbMixed = named(new QRadioButton(QStringLiteral("&Mixed"), gbOrder), "rbMixed");
    rbSequential->setChecked(true);
    QVBoxLayout *orders = column(gbOrder);
    for (QRadioButton *rb : {rbSequential, rbRandom, rbMixed}) {
        orders->addWidget(rb);
        connect(rb, &QRadioButton::clicked, this, &CfgBox::rbSequentialClick);
    }

    GroupBox2 = group(tsGeneral, "GroupBox2", "Startup", QRect(8, 166, GroupWidth, 52));
    cbDesktop = named(new QCheckBox(QStringLiteral("S&tart image painting on Desktop"), GroupBox2), "cbDesktop");
    column(GroupBox2)->addWidget(cbDesktop);
}

void CfgBox::buildPositionPage()
{
    tsPosition = named(new QWidget, "tsPosition");
    PageControl->addTab(tsPosition, QStringLiteral("Position"));

    gbSize = group(tsPosition, "gbSize", "Item Size", QRect(8, 6, GroupWidth, 140));
    rbSizeResize = named(new QRadioButton(QStringLiteral("&Resize to fit screen *"), gbSize), "rbSizeResize");
    rbSizeResizeBig = named(new QRadioButton(QStringLiteral("Resize &only if too big to fit screen *"), gbSize), "rbSizeResizeBig");
    rbSizeStretch = named(new QRadioButton(QStringLiteral("&Stretch to fit screen"), gbSize), "rbSizeStretch");
    rbSizeNone = named(new QRadioButton(QStringLiteral("&Do not change size"), gbSize), "rbSizeNone");
    Label37 = named(new QLabel(QStringLiteral("* Maintains aspect ratio"), gbSize), "Label37");
    rbSizeResize->setChecked(true);
    QVBoxLayout *sizes = column(gbSize);
    for (QRadioButton *rb : {rbSizeResize, rbSizeResizeBig, rbSizeStretch, rbSizeNone}) {
        sizes->addWidget(rb);
        connect(rb, &QRadioButton::clicked, this, &CfgBox::rbSizeResizeClick);
    }
    sizes->addSpacing(2);
    sizes->addWidget(Label37);

    gbPosition = group(tsPosition, "gbPosition", "Item Position", QRect(8, 152, GroupWidth, 76));
    rbPosCenter = named(new QRadioButton(QStringLiteral("&Center"), gbPosition), "rbPosCenter");
    rbPosRandom = named(new QRadioButton(QStringLiteral("R&andom position"), gbPosition), "rbPosRandom");
    rbPosCenter->setChecked(true);
    QVBoxLayout *positions = column(gbPosition);
    for (QRadioButton *rb : {rbPosCenter, rbPosRandom}) {
        positions->addWidget(rb);
        rb->setEnabled(false);
        connect(rb, &QRadioButton::clicked, this, &CfgBox::rbPosCenterClick);
    }
    gbPosition->setEnabled(false);
}

void CfgBox::buildEffectsPage(const QStringList &effectNames)
{
    tsEffects = named(new QWidget, "tsEffects");
    PageControl->addTab(tsEffects, QStringLiteral("Effects"));

    GroupBox9 = group(tsEffects, "GroupBox9", "Selection", QRect(8, 6, GroupWidth, 180));
    lbEffects = named(new QListWidget(GroupBox9), "lbEffects");
    lbEffects->setGeometry(12, 20, 220, 150);
    lbEffects->setUniformItemSizes(true);
    for (const QString &name : effectNames) {
        auto *item = new QListWidgetItem(name, lbEffects);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setSizeHint(QSize(0, 16));
    }
    connect(lbEffects, &QListWidget::itemClicked, this, &CfgBox::lbEffectsClick);
    connect(lbEffects, &QListWidget::currentRowChanged, this, [this] {
        if (QApplication::mouseButtons() == Qt::NoButton) // a click reports itself
            lbEffectsClick();
    });

    const int rightX = 12 + 220 + 12;
    Panel3 = named(new QFrame(GroupBox9), "Panel3");
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel3->setLineWidth(1);
    Panel3->setGeometry(rightX, 20, PreviewWidth + 2, PreviewHeight + 2);
    Panel3->hide();
    ImgPreviewTrans = image(Panel3, "ImgPreviewTrans", QRect(1, 1, PreviewWidth, PreviewHeight));
    ImgPT1 = image(GroupBox9, "ImgPT1", QRect(rightX, 20, PreviewWidth, PreviewHeight));
    ImgPT2 = image(GroupBox9, "ImgPT2", QRect(rightX, 20, PreviewWidth, PreviewHeight));
    ImgPT1->Bitmap().SetImage(PreviewSample(0));
    ImgPT2->Bitmap().SetImage(PreviewSample(1));
    ImgPT1->hide();
    ImgPT2->hide();

    btnSelectAll = button(GroupBox9, "btnSelectAll", "Select All");
    btnSelectAll->setGeometry(rightX, 122, PreviewWidth + 2, 23);
    btnSelectNone = button(GroupBox9, "btnSelectNone", "Select None");
    btnSelectNone->setGeometry(rightX, 148, PreviewWidth + 2, 23);
    connect(btnSelectAll, &QPushButton::clicked, this, &CfgBox::btnSelectAllClick);
    connect(btnSelectNone, &QPushButton::clicked, this, &CfgBox::btnSelectNoneClick);

    GroupBox6 = group(tsEffects, "GroupBox6", "Speed", QRect(8, 192, GroupWidth, 54));
    Label16 = named(new QLabel(QStringLiteral("Smooth"), GroupBox6), "Label16");
    tbEffectSpeed = named(new QSlider(Qt::Horizontal, GroupBox6), "tbEffectSpeed");
    setRange(tbEffectSpeed, SettingId::EffectSpeed);
    tbEffectSpeed->setValue(4);
    tbEffectSpeed->setPageStep(1);
    tbEffectSpeed->setTickPosition(QSlider::TicksBelow);
    tbEffectSpeed->setTickInterval(1);
    Label26 = named(new QLabel(QStringLiteral("Fast"), GroupBox6), "Label26");
    auto *speed = new QHBoxLayout(GroupBox6);
    speed->setContentsMargins(14, 8, 14, 6);
    speed->addWidget(Label16);
    speed->addWidget(tbEffectSpeed, 1);
    speed->addWidget(Label26);
}

void CfgBox::buildSoundPage()
{
    tsSound = named(new QWidget, "tsSound");
    PageControl->addTab(tsSound, QStringLiteral("Sound"));

    GroupBox10 = group(tsSound, "GroupBox10", "General", QRect(8, 6, PlaylistWidth, 52));
    cbMute = named(new QCheckBox(QStringLiteral("&Mute sounds"), GroupBox10), "cbMute");
    column(GroupBox10)->addWidget(cbMute);

    // Placed by hand: the three check boxes keep their distance from the bottom edge,
    // so they move up when the group is made shorter.
    gbPlaylist = group(tsSound, "gbPlaylist", "Music Playlist", QRect(8, 64, PlaylistWidth, PlaylistHeight));
    const int inner = PlaylistWidth - 32;
    rbPlayBuiltIn = named(new QRadioButton(QStringLiteral("&Use built-in playlist"), gbPlaylist), "rbPlayBuiltIn");
    rbPlayBuiltIn->setGeometry(16, 20, 200, 20);
    rbPlayBuiltIn->setChecked(true);
    rbPlayMyOwn = named(new QRadioButton(QStringLiteral("Us&e my own playlist"), gbPlaylist), "rbPlayMyOwn");
    rbPlayMyOwn->setGeometry(16, 42, 200, 20);
    btnPlaylistEditor = button(gbPlaylist, "btnPlaylistEditor", "Edit My Playlist...");
    btnPlaylistEditor->setGeometry(PlaylistWidth - 16 - 126, 40, 126, 25);
    connect(btnPlaylistEditor, &QPushButton::clicked, this, &CfgBox::btnPlaylistEditorClick);

    cbLoop = named(new QCheckBox(QStringLiteral("&Repeat playlist"), gbPlaylist), "cbLoop");
    cbLoop->setGeometry(16, 84, inner, 20);
    cbLoop->setChecked(true);
    cbShuffle = named(new QCheckBox(QStringLiteral("&Shuffle playlist item order"), gbPlaylist), "cbShuffle");
    cbShuffle->setGeometry(16, 106, inner, 20);
    cbPlayOneRandom = named(new QCheckBox(QStringLiteral("S&elect and play just one random playlist item"), gbPlaylist),
                            "cbPlayOneRandom");
    cbPlayOneRandom->setGeometry(16, 128, inner, 20);
    for (QWidget *w : {static_cast<QWidget *>(cbLoop), static_cast<QWidget *>(cbShuffle),
                       static_cast<QWidget *>(cbPlayOneRandom)})
        gbPlaylist->AnchorToBottom(w);
}

void CfgBox::buildBehaviorPage()
{
    tsBehavior = named(new QWidget, "tsBehavior");
    PageControl->addTab(tsBehavior, QStringLiteral("Behavior"));

    GroupBox12 = group(tsBehavior, "GroupBox12", "Exit Conditions", QRect(8, 6, GroupWidth, 116));
    cbExitMouseMove = named(new QCheckBox(QStringLiteral("&Mouse Move"), GroupBox12), "cbExitMouseMove");
    cbExitMouseButton = named(new QCheckBox(QStringLiteral("Mouse &Button Click"), GroupBox12), "cbExitMouseButton");
    cbExitKeyboard = named(new QCheckBox(QStringLiteral("&Keyboard Button"), GroupBox12), "cbExitKeyboard");
    cbExitEscape = named(new QCheckBox(QStringLiteral("&ESC Button"), GroupBox12), "cbExitEscape");
    QVBoxLayout *exits = column(GroupBox12);
    for (QCheckBox *cb : {cbExitMouseMove, cbExitMouseButton, cbExitKeyboard, cbExitEscape}) {
        exits->addWidget(cb);
        connect(cb, &QCheckBox::clicked, this, &CfgBox::cbExitKeyboardClick);
    }
    cbExitMouseMove->setChecked(true);
    cbExitMouseButton->setChecked(true);
    cbExitKeyboard->setChecked(true);
}

void CfgBox::btnSelectAllClick() { CheckAllEffects(*lbEffects, true); }
void CfgBox::btnSelectNoneClick() { CheckAllEffects(*lbEffects, false); }
void CfgBox::cbExitKeyboardClick() { KeepOneExitCondition(*this, qobject_cast<QAbstractButton *>(sender())); }
void CfgBox::rbSizeResizeClick() { UpdateSizeChoice(*this); }
void CfgBox::rbPosCenterClick() { UpdatePositionChoice(*this); }
void CfgBox::rbSequentialClick() { UpdateOrderChoice(*this); }
void CfgBox::btnCloseClick() { window()->close(); }

void CfgBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (btnClose->isVisible() && btnClose->isEnabled()) {
            btnClose->click();
            return;
        }
        break;
    default: break;
    }
    QWidget::keyPressEvent(event);
}

} // namespace pictoralia

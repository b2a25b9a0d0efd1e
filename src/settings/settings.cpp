// Reading and writing the user settings through the settings table, and the
// configuration dialog's set-up.
#include "settings/settings.h"

#include "package/ansitext.h"
#include "settings/cfgbox.h"
#include "settings/dialoglogic.h"
#include "settings/settingstable.h"

#include <QGuiApplication>
#include <QTimer>
#include <algorithm>
#include <climits>

namespace pictoralia {
namespace {

QAbstractButton *booleanControl(const CfgBox &box, const SettingDef &s)
{
    auto *control = box.findChild<QAbstractButton *>(QString::fromLatin1(s.Control.data(), qsizetype(s.Control.size())));
    Q_ASSERT_X(control, "settings table", s.Control.data());
    return control;
}

QString fromAnsi(const AnsiString &text) { return QString::fromStdString(AnsiToUtf8(text)); }

} // namespace

std::string SettingsKeyPath(const AnsiString &title) { return "\\Software\\Pictoralia\\" + AnsiToUtf8(title); }

Status ReadStoredSettings(const RegistryStore &store, Package &package, StoredSettings &stored)
{
    TRegistry reg(store);
    if (!reg.OpenKeyReadOnly(SettingsKeyPath(package.Texts.Title)))
        return reg.StoreFailed() ? Status::Failure(reg.LastError()) : Status::Success();

    for (const SettingDef &s : kSettings) {
        if (!reg.ValueExists(s.ValueName))
            continue;
        switch (s.Type) {
        case SettingType::Integer: {
            const RegResult<int32_t> v = reg.ReadInteger(s.ValueName);
            if (!v)
                return Status::Failure(v.error);
            package.Header.*s.IntegerField = *v;
            break;
        }
        case SettingType::Boolean: {
            const RegResult<bool> v = reg.ReadBool(s.ValueName);
            if (!v)
                return Status::Failure(v.error);
            if (s.BooleanField)
                package.Header.*s.BooleanField = *v;
            else
                stored.UseCustomPlaylist = *v;
            break;
        }
        case SettingType::String: {
            const RegResult<std::string> v = reg.ReadString(s.ValueName);
            if (!v)
                return Status::Failure(v.error);
            package.Texts.*s.TextField = *v;
            break;
        }
        }
    }
    PackageHeader &h = package.Header;
    if (!h.ExitMouseMove && !h.ExitMouseButton && !h.ExitKeyboard && !h.ExitESC)
        h.ExitKeyboard = true;
    return Status::Success();
}

void ShowSettings(const Package &package, const StoredSettings &stored, CfgBox &box, QWidget *window,
                  QTimer *slideshowTimer)
{
    const PackageHeader &h = package.Header;
    box.edSeconds->setValue(h.Seconds); // the spin box keeps to its range
    if (slideshowTimer)
        slideshowTimer->setInterval(int(std::clamp<int64_t>(int64_t(h.Seconds) * 1000, 0, INT_MAX)));
    ShowDisplayOrder(box, h.DisplayOrder);
    ShowStretch(box, h.Stretch);
    box.tbEffectSpeed->setValue(h.EffectSpeed);
    StringToEffects(*box.lbEffects, package.Texts.DefaultEffects);

    for (const SettingDef &s : kSettings) {
        if (s.Type == SettingType::Boolean && s.BooleanField)
            booleanControl(box, s)->setChecked(h.*s.BooleanField);
    }
    if (stored.UseCustomPlaylist)
        (*stored.UseCustomPlaylist ? box.rbPlayMyOwn : box.rbPlayBuiltIn)->setChecked(true);

    const QString title = fromAnsi(package.Texts.Title);
    QGuiApplication::setApplicationDisplayName(title);
    if (window)
        window->setWindowTitle(title);
    box.btnWebsite->setVisible(!package.Texts.WebsiteURL.empty());

    const std::pair<QWidget *, bool> pages[] = {
        {box.tsGeneral, h.HideGeneralTab}, {box.tsPosition, h.HidePositionTab},
        {box.tsEffects, h.HideEffectsTab}, {box.tsSound, h.HideSoundTab},
        {box.tsBehavior, h.HideBehaviorTab},
    };
    for (const auto &[page, hidden] : pages)
        box.PageControl->setTabVisible(box.PageControl->indexOf(page), !hidden);
}

Status ReadSettings(const RegistryStore &store, Package &package, CfgBox &box, QWidget *window,
                    QTimer *slideshowTimer)
{
    StoredSettings stored;
    if (Status s = ReadStoredSettings(store, package, stored); !s.Ok())
        return s;
    ShowSettings(package, stored, box, window, slideshowTimer);
    return Status::Success();
}

Status WriteSettings(const RegistryStore &store, const Package &package, const CfgBox &box)
{
    TRegistry reg(store);
    if (!reg.OpenKey(SettingsKeyPath(package.Texts.Title), true))
        return Status::Failure(reg.LastError());
    for (const SettingDef &s : kSettings) {
        switch (s.Id) {
        case SettingId::Seconds: reg.WriteInteger(s.ValueName, box.edSeconds->value()); break;
        case SettingId::Stretch: reg.WriteInteger(s.ValueName, StretchFromTags(box)); break;
        case SettingId::DisplayOrder: reg.WriteInteger(s.ValueName, box.gbOrder->Tag()); break;
        case SettingId::Effect: reg.WriteString(s.ValueName, EffectsToString(*box.lbEffects)); break;
        case SettingId::EffectSpeed: reg.WriteInteger(s.ValueName, box.tbEffectSpeed->value()); break;
        default: reg.WriteBool(s.ValueName, booleanControl(box, s)->isChecked()); break;
        }
    }
    if (!reg.CloseKey())
        return Status::Failure(reg.LastError());
    return Status::Success();
}

void LayOutConfigBox(const Package &package, CfgBox &box, QWidget *window)
{
    box.PanelWebBanner->show();
    box.Panel3->show();
    if (package.Header.BannerAreaSize > 0) {
        box.BannerPlaceHolderPanel->show();
        if (!package.Texts.BannerLinkURL.empty())
            box.imgBanner->setCursor(Qt::PointingHandCursor);
    } else {
        const int strip = box.BannerPlaceHolderPanel->height();
        box.setFixedHeight(box.height() - strip);
        if (window && window != &box) {
            const int h = window->height() - strip;
            if (window->minimumHeight() == window->maximumHeight())
                window->setFixedHeight(h);
            else
                window->resize(window->width(), h);
        }
    }
    box.ConfigControlsPanel->show();
}

void SetUpConfigDialog(const Package &package, CfgBox &box, QTimer *previewTimer)
{
    box.ImgPreviewTrans->SetBitmap(box.ImgPT2->Bitmap());
    if (previewTimer)
        previewTimer->start();

    const PackageHeader &h = package.Header;
    if (!h.AllowOwnPlaylist) {
        box.gbPlaylist->setFixedHeight(95);
        box.rbPlayMyOwn->hide();
        box.rbPlayBuiltIn->hide();
        box.btnPlaylistEditor->hide();
    }
    if (h.MelodyEntryCount == 0) {
        box.rbPlayMyOwn->setChecked(true);
        box.rbPlayBuiltIn->setEnabled(false);
    }
    if (h.MelodyEntryCount == 1 && !h.AllowOwnPlaylist) {
        box.cbShuffle->hide();
        box.cbPlayOneRandom->hide();
        box.gbPlaylist->setFixedHeight(111);
    }
}

} // namespace pictoralia

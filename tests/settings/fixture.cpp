// Shared pieces of the settings tests.
#include "fixture.h"

#include "settings/settings.h"
#include "transitions/catalogue.h"

namespace pictoralia::test {

QStringList EffectNames()
{
    QStringList names;
    for (int effect = 1; effect <= kLastEffect; ++effect)
        names << QString::fromUtf8(EffectAt(effect).Label.data(), qsizetype(EffectAt(effect).Label.size()));
    return names;
}

Package DemoPackage()
{
    Package p;
    p.Texts.Title = "Demo";
    p.Header.MelodyEntryCount = 2;
    p.Header.AllowOwnPlaylist = true;
    return p;
}

void ScratchStore::PutInteger(const std::string &title, const std::string &name, int32_t value) const
{
    TRegistry reg(Store());
    reg.OpenKey(SettingsKeyPath(title), true);
    reg.WriteInteger(name, value);
}

void ScratchStore::PutString(const std::string &title, const std::string &name, const std::string &value) const
{
    TRegistry reg(Store());
    reg.OpenKey(SettingsKeyPath(title), true);
    reg.WriteString(name, value);
}

std::vector<std::pair<std::string, std::string>> ScratchStore::Values(const std::string &title) const
{
    std::vector<std::pair<std::string, std::string>> values;
    const RegResult<RegistryDocument> doc = Store().Load();
    const RegKey *key = doc ? doc.value->FindKey("HKEY_CURRENT_USER" + SettingsKeyPath(title)) : nullptr;
    if (!key)
        return values;
    for (const RegValue &v : key->values)
        values.emplace_back(v.name, v.type == RegType::Dword ? "dword:" + std::to_string(int32_t(v.dword)) : v.text);
    return values;
}

std::string ScratchStore::Value(const std::string &title, const std::string &name) const
{
    for (const auto &[n, v] : Values(title)) {
        if (n == name)
            return v;
    }
    return "<missing>";
}

HostWindow::HostWindow(Package &package, const RegistryStore &store)
    : Box(new CfgBox(EffectNames(), this)), m_package(package), m_store(store)
{
    setFixedSize(Box->size());
}

Status HostWindow::Open()
{
    Status s = ReadSettings(m_store, m_package, *Box, this, nullptr);
    LayOutConfigBox(m_package, *Box, this);
    SetUpConfigDialog(m_package, *Box, nullptr);
    return s;
}

void HostWindow::closeEvent(QCloseEvent *event)
{
    ++Closes;
    LastWrite = WriteSettings(m_store, m_package, *Box);
    QWidget::closeEvent(event);
}

} // namespace pictoralia::test

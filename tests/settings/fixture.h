// Shared pieces of the settings tests: a scratch store, a package with the design's
// defaults, the effect labels, and a window hosting the configuration panel that
// stores the settings when it closes.
#pragma once

#include "package/records.h"
#include "package/status.h"
#include "platform/registry.h"
#include "settings/cfgbox.h"

#include <QCloseEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

namespace pictoralia::test {

// The transition catalogue's labels of effects 1..120, as the shell lists them.
QStringList EffectNames();

// A package as a builder with the design's defaults writes it: title "Demo", melodies
// and the user's own playlist allowed.
Package DemoPackage();

class ScratchStore {
public:
    RegistryStore Store() const { return RegistryStore(Path()); }
    std::string Path() const { return (m_dir.path() + "/pictoralia/registry.reg").toStdString(); }

    // Writes values below the settings key of title.
    void PutInteger(const std::string &title, const std::string &name, int32_t value) const;
    void PutString(const std::string &title, const std::string &name, const std::string &value) const;
    // The values of title's settings key in file order: name and "dword:N" or the text.
    std::vector<std::pair<std::string, std::string>> Values(const std::string &title) const;
    // One of them, "<missing>" when absent.
    std::string Value(const std::string &title, const std::string &name) const;

private:
    QTemporaryDir m_dir;
};

// What the shell's main window does in configuration mode, reduced to the settings:
// the panel inside a window whose closing stores the settings.
class HostWindow final : public QWidget {
public:
    HostWindow(Package &package, const RegistryStore &store);
    CfgBox *Box;
    int Closes = 0;
    Status LastWrite;
    // Reads the settings and sets the dialog up as configuration mode does.
    Status Open();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Package &m_package;
    RegistryStore m_store;
};

} // namespace pictoralia::test

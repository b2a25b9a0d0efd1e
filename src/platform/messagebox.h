// The message box of the run-time's fixed errors.
#pragma once

#include <QString>

namespace pictoralia {

// Shows text in a modal error box whose caption is the application's title
// (QGuiApplication::applicationDisplayName) and waits for the user. With
// PICTORALIA_NONINTERACTIVE=1 the text goes to stderr instead and nothing waits.
// GUI thread only; needs a QApplication unless non-interactive.
void ShowErrorBox(const QString &text);

} // namespace pictoralia

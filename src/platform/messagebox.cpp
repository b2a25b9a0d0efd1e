// Error box over QMessageBox, or stderr when nobody is there to click.
#include "platform/messagebox.h"

#include <QGuiApplication>
#include <QMessageBox>

#include <cstdio>

namespace pictoralia {

void ShowErrorBox(const QString &text)
{
    if (qEnvironmentVariable("PICTORALIA_NONINTERACTIVE") == QLatin1String("1")) {
        const QByteArray bytes = text.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok);
    box.exec();
}

} // namespace pictoralia

// pictoralia-saver: reads the package appended to its own file; without one (the
// template) it shows the package error and ends with status 1.
#include "package/packageerror.h"
#include "package/reader.h"
#include "platform/messagebox.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Screen Saver"));

    pictoralia::Package package;
    if (!pictoralia::ReadPackage(QCoreApplication::applicationFilePath().toStdString(), package).Ok()) {
        pictoralia::ShowErrorBox(QString::fromLatin1(pictoralia::PackageErrorText()));
        return 1;
    }
    return 0;
}

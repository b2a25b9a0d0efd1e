// The preview picture of preview mode.
#include "package/tempfiles.h"
#include "package/writer.h"
#include "showfixture.h"
#include "slideshow/preview.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pictoralia;

namespace {

std::string WriteSaver(const QTemporaryDir &dir, bool withPreview)
{
    const std::string templatePath = dir.filePath("template").toStdString();
    QFile t(QString::fromStdString(templatePath));
    EXPECT_TRUE(t.open(QIODevice::WriteOnly));
    t.write("template program");
    t.close();
    PackageWriter writer;
    writer.Texts.Title = "Preview";
    if (withPreview)
        writer.SetPreviewPicture(
            EntrySource::Memory(test::SolidPicture(0xFF00FF00, "bmp", 152, 112)));
    const std::string saver = dir.filePath(withPreview ? "with.scr" : "without.scr").toStdString();
    EXPECT_TRUE(writer.Write(templatePath, saver).Ok());
    return saver;
}

} // namespace

TEST(LoadPreviewImage, ShowsThePreviewPictureStretchedInsteadOfTheShow)
{
    QTemporaryDir dir;
    QWidget window;
    window.resize(152, 112);
    QLabel prImage(&window);
    QWidget image32(&window);
    prImage.hide();
    window.show();

    LoadPreviewImage(WriteSaver(dir, false), prImage, image32);
    EXPECT_TRUE(prImage.isHidden()) << "without a preview picture the window keeps its look";
    EXPECT_FALSE(image32.isHidden());

    LoadPreviewImage(WriteSaver(dir, true), prImage, image32);
    EXPECT_FALSE(prImage.isHidden());
    EXPECT_TRUE(image32.isHidden());
    EXPECT_TRUE(prImage.hasScaledContents());
    const QImage shown = prImage.pixmap().toImage();
    ASSERT_EQ(shown.size(), QSize(152, 112));
    EXPECT_EQ(shown.pixel(70, 50), 0xFF00FF00u);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(TempFileName("SSIMG", ".BMP"))));
}

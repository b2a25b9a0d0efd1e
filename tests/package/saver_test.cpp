// The pictoralia-saver executable: the template reports the package error and fails; a
// copy with a package appended reads it.
#include "fixture.h"

#include "package/packageerror.h"
#include "package/writer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>

using namespace pictoralia;
using namespace pictoralia::test;

namespace {

struct Outcome {
    int exitCode;
    QByteArray stderrText; // Qt may print its own notes before ours
};

// Runs the program with args; with untilShown, waits until its window is shown, then
// ends it with SIGTERM (the configuration dialog would wait for the user). Without
// display, the environment names no windowing system at all.
Outcome Start(const std::string &program, QStringList args = {}, bool untilShown = false,
              bool display = true)
{
    QTemporaryDir dir;
    const QString trace = dir.path() + "/trace";
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PICTORALIA_NONINTERACTIVE", "1");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("PICTORALIA_TRACE", trace);
    if (!display)
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
    p.setProcessEnvironment(env);
    p.start(QString::fromStdString(program), args);
    if (untilShown) {
        QElapsedTimer t;
        t.start();
        auto shown = [&] {
            QFile f(trace);
            return f.open(QIODevice::ReadOnly) && f.readAll().contains(" shown");
        };
        while (!shown() && t.elapsed() < 20000 && !p.waitForFinished(20)) {
        }
        EXPECT_TRUE(shown()) << "no window within 20 s";
        p.terminate();
    }
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError()};
}

} // namespace

TEST(Saver, TemplateShowsThePackageErrorAndFails)
{
    const Outcome r = Start(PICTORALIA_SAVER);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.stderrText.endsWith(QByteArray::fromStdString(PackageErrorText() + "\n"))) << r.stderrText.toStdString();
}

TEST(Saver, WithoutADisplayItSaysSoAndFails)
{
    // Qt would abort with a core dump; the program ends with a plain message instead.
    for (const char *mode : {"/s", "/c", "/p"}) {
        const Outcome r = Start(PICTORALIA_SAVER, {mode}, false, false);
        EXPECT_EQ(r.exitCode, 1) << mode;
        EXPECT_TRUE(r.stderrText.contains("no display")) << mode << r.stderrText.toStdString();
    }
}

TEST(Saver, ReadsThePackageAppendedToItself)
{
    ScratchDir dir;
    PackageWriter w;
    w.Texts.Title = "Demo";
    w.AddItem({}, EntrySource::Memory("picture", Storage::Deflate));
    ASSERT_TRUE(w.Write(PICTORALIA_SAVER, dir / "demo.scr").Ok());
    const Outcome good = Start(dir / "demo.scr", {"/c"}, true);
    EXPECT_EQ(good.exitCode, 0) << good.stderrText.toStdString();
    EXPECT_FALSE(good.stderrText.contains("can not run"));

    PatchHeader(dir / "demo.scr", [](PackageHeader &h) { h.ItemCount = 1000; });
    // The tables are read in saver mode only.
    const Outcome bad = Start(dir / "demo.scr", {"/s"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.stderrText.endsWith(QByteArray::fromStdString(PackageErrorText() + "\n")));
}

// With two monitors the saver covers the second one with a form of its own.
#include "package/writer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

using namespace pictoralia;

TEST(TwoMonitors, SecondFormCoversTheSecondMonitor)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString saver = dir.path() + "/two.scr", trace = dir.path() + "/trace",
                  screens = dir.path() + "/screens.json";
    PackageWriter w;
    w.Texts.Title = "Two Monitors";
    ASSERT_TRUE(w.Write(PICTORALIA_SAVER, saver.toStdString()).Ok());
    std::ofstream(screens.toStdString()) << R"({"screens": [
        {"name": "left", "x": 0, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
        {"name": "right", "x": 1024, "y": 0, "width": 800, "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + screens);
    env.insert("PICTORALIA_TRACE", trace);
    env.insert("XDG_RUNTIME_DIR", dir.path());
    env.insert("PICTORALIA_REGISTRY", dir.path() + "/registry.reg");
    p.setProcessEnvironment(env);
    p.start(saver, {"/s"});
    auto traced = [&] {
        QFile f(trace);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QElapsedTimer t;
    t.start();
    while (!traced().contains(" shown") && t.elapsed() < 20000 && !p.waitForFinished(20)) {
    }
    EXPECT_TRUE(traced().contains(" second-monitor x=1024 y=0 width=800 height=600")) << traced().toStdString();
    p.terminate();
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(traced().contains(" end status=0"));
}

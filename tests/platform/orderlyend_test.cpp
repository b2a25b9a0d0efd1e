// The ways out: a termination signal reaches the GUI thread as a Qt signal, a second
// one ends the process through the emergency clean-up, and the watchdog ends a process
// whose GUI thread stopped serving events.
#include "platform/orderlyend.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

using namespace pictoralia;

namespace {

char g_marker[512];

void WriteMarker()
{
    const int fd = ::open(g_marker, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0)
        ::close(fd);
}

bool WaitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

} // namespace

TEST(TerminationSignals, ArriveOnTheGuiThread)
{
    TerminationSignals sigs;
    std::vector<int> got;
    QObject::connect(&sigs, &TerminationSignals::Received, [&](int s) { got.push_back(s); });
    ::raise(SIGHUP);
    ASSERT_TRUE(WaitFor([&] { return !got.empty(); }, 2000));
    EXPECT_EQ(got, std::vector<int>{SIGHUP});
}

TEST(TerminationSignalsDeathTest, SecondSignalEndsAtOnceWithCleanUp)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The death test runs in a new process that repeats this test up to EXPECT_EXIT;
    // it finds the parent's folder in the environment.
    QTemporaryDir dir;
    if (qEnvironmentVariableIsEmpty("PICTORALIA_TEST_MARKER"))
        qputenv("PICTORALIA_TEST_MARKER", (dir.path() + "/cleaned").toLocal8Bit());
    const QByteArray marker = qgetenv("PICTORALIA_TEST_MARKER");
    std::snprintf(g_marker, sizeof g_marker, "%s", marker.constData());
    EXPECT_EXIT(
        {
            SetEmergencyCleanup(WriteMarker);
            TerminationSignals sigs;
            ::raise(SIGTERM); // first: queued for the GUI thread, which never serves it
            ::raise(SIGTERM);
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(128 + SIGTERM), "");
    EXPECT_TRUE(QFile::exists(dir.path() + "/cleaned"));
    qunsetenv("PICTORALIA_TEST_MARKER");
}

TEST(WatchdogDeathTest, StalledGuiThreadEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Watchdog dog(20, 5);
            std::this_thread::sleep_for(std::chrono::seconds(5)); // no events served
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(3), "stopped responding");
}

TEST(WatchdogDeathTest, ExpectedEndThatDoesNotComeIsForced)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Watchdog dog(20, 1000);
            dog.ExpectEndWithin(100);
            WaitFor([] { return false; }, 5000); // serving events, but not ending
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(3), "");
}

TEST(Watchdog, ServedEventLoopStaysAlive)
{
    Watchdog dog(10, 5);
    QElapsedTimer t;
    t.start();
    WaitFor([] { return false; }, 300);
    SUCCEED() << "still running after " << t.elapsed() << " ms";
}

// Test entry point: one QApplication for the whole run, so widget tests and queued
// calls work; the platform is whatever QT_QPA_PLATFORM says (offscreen under CTest).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // The suites' ENVIRONMENT property reaches CTest with its first entry only (test
    // discovery splits the list), and a suite may be run by hand: the defaults are set
    // here, so no test waits on a message box or plays to a sound card.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("PICTORALIA_NONINTERACTIVE"))
        qputenv("PICTORALIA_NONINTERACTIVE", "1");
    if (qEnvironmentVariableIsEmpty("PICTORALIA_AUDIO"))
        qputenv("PICTORALIA_AUDIO", "null");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

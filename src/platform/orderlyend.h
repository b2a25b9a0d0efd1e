// The program's ways out besides its own windows: SIGTERM, SIGINT and SIGHUP delivered
// as a Qt signal on the GUI thread (self-pipe), a last-resort clean-up for fatal
// signals, and a watchdog that ends a process whose GUI thread stopped serving.
#pragma once

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class QSocketNotifier;
class QTimer;

namespace pictoralia {

// Async-signal-safe clean-up run on every abnormal end (a second termination signal,
// a fatal signal, the watchdog): removes what must not outlive the process.
using EmergencyCleanup = void (*)();
void SetEmergencyCleanup(EmergencyCleanup cleanup);

// A flat folder (no subfolders) that the emergency clean-up empties and removes with
// async-signal-safe system calls only. Set it once it exists; empty = none.
void SetEmergencyFolder(const std::string &path);

// Runs the emergency clean-up and ends the process at once with status code.
[[noreturn]] void EmergencyExit(int code);

// One per process, on the GUI thread. While it exists, SIGTERM, SIGINT and SIGHUP
// emit Received on the GUI thread; a second one of them while the first is being
// handled ends the process at once through the emergency clean-up.
class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void Received(int signalNumber);

private:
    void ReadPipe();
    QSocketNotifier *m_notifier = nullptr;
};

// SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT on any thread: emergency clean-up, then
// the default action (the process dies and the X server removes its windows).
void InstallFatalSignalHandlers();

// Ends the process (EmergencyExit) when the GUI thread has not served its event loop
// for stallChecks consecutive checks of checkMs each, or when an end was expected and
// has not come within its deadline. Counting checks instead of wall time keeps a
// stopped and continued process (SIGSTOP / SIGCONT) alive.
class Watchdog final : public QObject {
    Q_OBJECT
public:
    Watchdog(int checkMs, int stallChecks, QObject *parent = nullptr);
    ~Watchdog() override;

    // The program is ending: if it still runs after about ms milliseconds, end it.
    void ExpectEndWithin(int ms);

private:
    void Run();

    int m_checkMs;
    int m_stallChecks;
    QTimer *m_heartbeatTimer = nullptr;
    std::atomic<uint64_t> m_heartbeat{0};
    std::atomic<int> m_endChecks{-1}; // checks left until a forced end; -1 = none expected
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace pictoralia

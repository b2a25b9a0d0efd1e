// Self-pipe signal delivery, the fatal-signal clean-up and the watchdog thread.
#include "platform/orderlyend.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace pictoralia {
namespace {

// The head of a record that getdents64 fills (the C library declares no type for it);
// the zero-terminated name follows d_type.
struct Dirent64Head {
    uint64_t d_ino;
    int64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
};
constexpr size_t DirentNameOffset = offsetof(Dirent64Head, d_type) + 1;

std::atomic<EmergencyCleanup> g_cleanup{nullptr};
std::atomic<bool> g_cleanupDone{false};
int g_pipe[2] = {-1, -1};
std::atomic<int> g_pending{0};

constexpr int TerminationSignalList[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int FatalSignalList[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

char g_folder[4096];
std::atomic<bool> g_folderSet{false};

// Empties and removes g_folder with system calls that are safe in a signal handler.
void RemoveEmergencyFolder()
{
    if (!g_folderSet.load())
        return;
    const int dir = ::open(g_folder, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir >= 0) {
        alignas(8) char buf[4096];
        for (;;) {
            const long n = ::syscall(SYS_getdents64, dir, buf, sizeof buf);
            if (n <= 0)
                break;
            for (long off = 0; off < n;) {
                const auto *d = reinterpret_cast<const Dirent64Head *>(buf + off);
                const char *name = buf + off + DirentNameOffset;
                if (!(name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))))
                    ::unlinkat(dir, name, 0);
                off += d->d_reclen;
            }
        }
        ::close(dir);
    }
    ::rmdir(g_folder);
}

void RunCleanupOnce()
{
    if (g_cleanupDone.exchange(true))
        return;
    if (EmergencyCleanup fn = g_cleanup.load())
        fn();
    RemoveEmergencyFolder();
}

void OnTerminationSignal(int signo)
{
    const int saved = errno;
    if (g_pending.fetch_add(1) > 0) {
        // Asked again while the first request is still being served: end now.
        RunCleanupOnce();
        ::_exit(128 + signo);
    }
    const unsigned char b = static_cast<unsigned char>(signo);
    if (::write(g_pipe[1], &b, 1) < 0) {
        // Nothing to report from a signal handler; the next signal ends the process.
    }
    errno = saved;
}

void OnFatalSignal(int signo)
{
    RunCleanupOnce();
    struct sigaction sa {};
    sa.sa_handler = SIG_DFL;
    sigemptyset(&sa.sa_mask);
    ::sigaction(signo, &sa, nullptr);
    ::raise(signo);
}

void Install(int signo, void (*handler)(int), int flags)
{
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = flags;
    ::sigaction(signo, &sa, nullptr);
}

} // namespace

void SetEmergencyCleanup(EmergencyCleanup cleanup) { g_cleanup.store(cleanup); }

void SetEmergencyFolder(const std::string &path)
{
    g_folderSet.store(false);
    if (path.empty() || path.size() >= sizeof g_folder)
        return;
    std::memcpy(g_folder, path.c_str(), path.size() + 1);
    g_folderSet.store(true);
}

void EmergencyExit(int code)
{
    RunCleanupOnce();
    ::_exit(code);
}

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_pending.store(0);
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::ReadPipe);
    for (const int s : TerminationSignalList)
        Install(s, OnTerminationSignal, SA_RESTART);
}

TerminationSignals::~TerminationSignals()
{
    for (const int s : TerminationSignalList)
        Install(s, SIG_DFL, 0);
}

void TerminationSignals::ReadPipe()
{
    unsigned char b = 0;
    while (::read(g_pipe[0], &b, 1) == 1)
        emit Received(int(b));
}

void InstallFatalSignalHandlers()
{
    for (const int s : FatalSignalList)
        Install(s, OnFatalSignal, SA_RESETHAND);
}

Watchdog::Watchdog(int checkMs, int stallChecks, QObject *parent)
    : QObject(parent), m_checkMs(checkMs), m_stallChecks(stallChecks)
{
    m_heartbeatTimer = new QTimer(this);
    m_heartbeatTimer->setInterval(std::max(1, checkMs / 4));
    connect(m_heartbeatTimer, &QTimer::timeout, this, [this] { m_heartbeat.fetch_add(1); });
    m_heartbeatTimer->start();
    m_thread = std::thread([this] { Run(); });
}

Watchdog::~Watchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void Watchdog::ExpectEndWithin(int ms)
{
    const int checks = std::max(1, (ms + m_checkMs - 1) / m_checkMs);
    int expected = -1;
    // An earlier, shorter deadline stays.
    m_endChecks.compare_exchange_strong(expected, checks);
}

void Watchdog::Run()
{
    uint64_t last = m_heartbeat.load();
    int missed = 0;
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, std::chrono::milliseconds(m_checkMs), [this] { return m_stop; })) {
        const uint64_t now = m_heartbeat.load();
        missed = now == last ? missed + 1 : 0;
        last = now;
        const int end = m_endChecks.load();
        if (end > 0)
            m_endChecks.store(end - 1);
        if (missed >= m_stallChecks || end == 1) {
            static constexpr char text[] = "pictoralia-saver: the program stopped responding; ending it\n";
            if (::write(STDERR_FILENO, text, sizeof text - 1) < 0) {
                // stderr may be closed; the exit follows all the same.
            }
            EmergencyExit(3);
        }
    }
}

} // namespace pictoralia

// One full-screen saver per user and display: an advisory lock on a file in the
// user's runtime folder, released by the kernel when the process ends in any way.
#pragma once

#include <QString>

#include <memory>

namespace pictoralia {

class InstanceLock {
public:
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // The lock for this user on this display ($DISPLAY, else $WAYLAND_DISPLAY), or
    // nothing when another process holds it. When no lock file can be made (no
    // writable folder, a file owned by someone else) the lock is given all the same:
    // a second saver is a smaller harm than none.
    static std::unique_ptr<InstanceLock> TryAcquire(const QString &name = QStringLiteral("saver"));

    // $XDG_RUNTIME_DIR (else $TMPDIR, else /tmp) + "pictoralia-<name>-<uid>-<display>.lock".
    static QString PathFor(const QString &name);
    const QString &Path() const { return m_path; }

private:
    InstanceLock(int fd, QString path) : m_fd(fd), m_path(std::move(path)) {}
    int m_fd = -1;
    QString m_path;
};

} // namespace pictoralia

// flock() on a per-user, per-display file.
#include "platform/instancelock.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictoralia {

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // also releases the lock
}

QString InstanceLock::PathFor(const QString &name)
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = qEnvironmentVariable("TMPDIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QStringLiteral("/tmp");
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("WAYLAND_DISPLAY");
    // Keep the display name a plain file-name part ("localhost:10.0" -> "localhost_10.0").
    for (QChar &c : display) {
        if (!c.isLetterOrNumber() && c != u'.' && c != u'-')
            c = u'_';
    }
    return QStringLiteral("%1/pictoralia-%2-%3-%4.lock")
        .arg(dir, name)
        .arg(::getuid())
        .arg(display.isEmpty() ? QStringLiteral("none") : display);
}

std::unique_ptr<InstanceLock> InstanceLock::TryAcquire(const QString &name)
{
    const QString path = PathFor(name);
    const QByteArray native = QFile::encodeName(path);
    // O_NOFOLLOW: in a shared folder another user could plant a link under this name.
    const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || st.st_uid != ::getuid()) {
        if (fd >= 0)
            ::close(fd);
        return std::unique_ptr<InstanceLock>(new InstanceLock(-1, path));
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK)
            return nullptr;
        return std::unique_ptr<InstanceLock>(new InstanceLock(-1, path));
    }
    return std::unique_ptr<InstanceLock>(new InstanceLock(fd, path));
}

} // namespace pictoralia

// POSIX descriptor helpers: EINTR and partial transfers handled in one place.
#include "package/fileio.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictoralia {

FileDescriptor &FileDescriptor::operator=(FileDescriptor &&other) noexcept
{
    if (this != &other) {
        reset();
        m_fd = other.release();
    }
    return *this;
}

FileDescriptor FileDescriptor::OpenForReading(const std::string &path)
{
    int fd;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    return FileDescriptor(fd);
}

int FileDescriptor::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void FileDescriptor::reset()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

int64_t FileDescriptor::size() const
{
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        return -1;
    return int64_t(st.st_size);
}

int64_t FileDescriptor::readSomeAt(int64_t position, void *buffer, size_t count) const
{
    if (position < 0)
        return -1;
    auto *out = static_cast<char *>(buffer);
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(m_fd, out + done, count - done, off_t(position + int64_t(done)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += size_t(n);
    }
    return int64_t(done);
}

bool FileDescriptor::readAt(int64_t position, void *buffer, size_t count) const
{
    return readSomeAt(position, buffer, count) == int64_t(count);
}

bool FileDescriptor::write(const void *buffer, size_t count) const
{
    const auto *in = static_cast<const char *>(buffer);
    while (count > 0) {
        const ssize_t n = ::write(m_fd, in, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        in += n;
        count -= size_t(n);
    }
    return true;
}

bool FileDescriptor::writeAt(int64_t position, const void *buffer, size_t count) const
{
    const auto *in = static_cast<const char *>(buffer);
    while (count > 0) {
        const ssize_t n = ::pwrite(m_fd, in, count, off_t(position));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        in += n;
        position += n;
        count -= size_t(n);
    }
    return true;
}

std::string ErrnoText() { return std::strerror(errno); }

} // namespace pictoralia

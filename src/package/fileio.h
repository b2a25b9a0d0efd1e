// Small POSIX file helpers for the package code: an owning descriptor whose reads and
// writes deliver all their bytes or fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pictoralia {

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(FileDescriptor &&other) noexcept : m_fd(other.release()) {}
    FileDescriptor &operator=(FileDescriptor &&other) noexcept;
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    ~FileDescriptor() { reset(); }

    // Opens for reading (close-on-exec). Invalid on failure; errno tells why.
    static FileDescriptor OpenForReading(const std::string &path);

    bool valid() const { return m_fd >= 0; }
    int get() const { return m_fd; }
    int release();
    void reset();

    // -1 on failure.
    int64_t size() const;
    // Reads exactly count bytes at position; false on a short read or an error.
    bool readAt(int64_t position, void *buffer, size_t count) const;
    // Reads up to count bytes at position; the number read, or -1 on an error.
    int64_t readSomeAt(int64_t position, void *buffer, size_t count) const;
    // Writes all count bytes at the current position; false on an error.
    bool write(const void *buffer, size_t count) const;
    // Writes all count bytes at position, leaving the current position alone.
    bool writeAt(int64_t position, const void *buffer, size_t count) const;

private:
    int m_fd = -1;
};

// strerror(errno) as a string, for messages.
std::string ErrnoText();

} // namespace pictoralia

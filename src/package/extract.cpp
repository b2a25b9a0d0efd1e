// Entry extraction: bounded block copy or bounded streaming inflate into a fresh file.
#include "package/extract.h"

#include "package/fileio.h"

#include <zlib.h>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace pictoralia {
namespace {

constexpr size_t InflateOutputBytes = 256 * 1024;

Status CreateDestination(const std::string &name, FileDescriptor &out)
{
    int fd;
    do
        fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return Status::Failure("cannot create " + name + ": " + ErrnoText());
    out = FileDescriptor(fd);
    return Status::Success();
}

Status CopyStored(const FileDescriptor &in, const FileDescriptor &out, int64_t offset, int64_t size)
{
    std::vector<uint8_t> block(size_t(std::min(size, ChunkSize)));
    for (int64_t done = 0; done < size;) {
        const size_t n = size_t(std::min(ChunkSize, size - done));
        if (!in.readAt(offset + done, block.data(), n))
            return Status::Failure("short read at " + std::to_string(offset + done));
        if (!out.write(block.data(), n))
            return Status::Failure("cannot write: " + ErrnoText());
        done += int64_t(n);
    }
    return Status::Success();
}

Status Inflate(const FileDescriptor &in, const FileDescriptor &out, int64_t offset, int64_t packedSize, int64_t size)
{
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return Status::Failure("cannot start inflating");
    const std::unique_ptr<z_stream, int (*)(z_stream *)> end(&zs, inflateEnd);
    std::vector<uint8_t> packed(size_t(std::min(packedSize, ChunkSize)));
    std::vector<uint8_t> plain(InflateOutputBytes);
    int64_t consumed = 0; // packed bytes handed to zlib
    int64_t written = 0;
    while (written < size) {
        if (zs.avail_in == 0) {
            if (consumed == packedSize)
                return Status::Failure("the stream ends after " + std::to_string(written) + " bytes");
            const size_t n = size_t(std::min<int64_t>(int64_t(packed.size()), packedSize - consumed));
            if (!in.readAt(offset + consumed, packed.data(), n))
                return Status::Failure("short read at " + std::to_string(offset + consumed));
            consumed += int64_t(n);
            zs.next_in = packed.data();
            zs.avail_in = uInt(n);
        }
        zs.next_out = plain.data();
        zs.avail_out = uInt(std::min<int64_t>(int64_t(plain.size()), size - written));
        const uInt room = zs.avail_out;
        const int rc = inflate(&zs, Z_NO_FLUSH);
        const size_t produced = room - zs.avail_out;
        if (produced > 0 && !out.write(plain.data(), produced))
            return Status::Failure("cannot write: " + ErrnoText());
        written += int64_t(produced);
        if (rc == Z_STREAM_END)
            return Status::Success();
        if (rc != Z_OK && !(rc == Z_BUF_ERROR && zs.avail_in == 0))
            return Status::Failure("damaged stream after " + std::to_string(written) + " bytes");
    }
    return Status::Success(); // Size reached: the rest of the stream is not wanted
}

} // namespace

Status ExtractEntry(const std::string &ExeName, const std::string &DestName, bool Compressed, int64_t Size,
                    int64_t PackedSize, int64_t Offset)
{
    if (DestName.empty())
        return Status::Failure("no destination");
    if (::unlink(DestName.c_str()) != 0 && errno != ENOENT)
        return Status::Failure("cannot remove " + DestName + ": " + ErrnoText());

    const FileDescriptor in = FileDescriptor::OpenForReading(ExeName);
    if (!in.valid())
        return Status::Failure("cannot open " + ExeName + ": " + ErrnoText());
    const int64_t length = in.size();
    if (Offset < 0 || Size < 0 || PackedSize < 0 || length < 0 || Offset > length)
        return Status::Failure("entry outside the file");

    FileDescriptor out;
    if (!Compressed) {
        if (Size == 0)
            Size = length - Offset;
        if (Size > length - Offset)
            return Status::Failure("entry reaches past the end of the file");
        if (Status s = CreateDestination(DestName, out); !s.Ok())
            return s;
        return CopyStored(in, out, Offset, Size);
    }
    if (PackedSize == 0 || PackedSize > length - Offset)
        return Status::Failure("packed entry outside the file");
    if (Status s = CreateDestination(DestName, out); !s.Ok())
        return s;
    return Inflate(in, out, Offset, PackedSize, Size);
}

Status ExtractEntry(const std::string &ExeName, const std::string &DestName, const EntryLocation &entry)
{
    return ExtractEntry(ExeName, DestName, entry.Compressed, entry.Size, entry.PackedSize, entry.Offset);
}

} // namespace pictoralia

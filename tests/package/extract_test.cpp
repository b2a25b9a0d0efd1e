// ExtractEntry: stored copies across blocks, inflating bounded by Size, only the bytes
// obtained written, ranges outside the file refused, links never followed, and the
// memory of an inflate independent of what the entry claims.
#include "fixture.h"

#include "package/extract.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

using namespace pictoralia;
using namespace pictoralia::test;

namespace {

// A file of a template prefix followed by payload; returns the payload's offset.
int64_t WithPayload(const std::string &path, const Bytes &payload, size_t prefix = 1000)
{
    Bytes file = Pseudorandom(prefix, 1);
    file.insert(file.end(), payload.begin(), payload.end());
    WriteFile(path, file);
    return int64_t(prefix);
}

Bytes Prefix(const Bytes &b, size_t n) { return Bytes(b.begin(), b.begin() + long(std::min(n, b.size()))); }

} // namespace

TEST(ExtractEntry, StoredCopiesExactlySizeBytesAcrossBlocks)
{
    ScratchDir dir;
    const Bytes data = Pseudorandom(3 * size_t(ChunkSize) + 12345, 2);
    Bytes file = data;
    file.insert(file.end(), 100, 0xAB); // bytes after the entry are not copied
    const int64_t at = WithPayload(dir / "exe", file);
    const struct {
        int64_t size;
        size_t expected;
    } cases[] = {{int64_t(data.size()), data.size()}, {ChunkSize, size_t(ChunkSize)}, {ChunkSize + 1, size_t(ChunkSize) + 1}, {1, 1}};
    for (const auto &c : cases) {
        ASSERT_TRUE(ExtractEntry(dir / "exe", dir / "out", false, c.size, 0, at).Ok());
        EXPECT_EQ(ReadFile(dir / "out"), Prefix(file, c.expected)) << c.size;
    }
    // Size 0: up to the end of the executable.
    ASSERT_TRUE(ExtractEntry(dir / "exe", dir / "out", false, 0, 0, at).Ok());
    EXPECT_EQ(ReadFile(dir / "out"), file);
    ASSERT_TRUE(ExtractEntry(dir / "exe", dir / "out", false, 0, 0, 0).Ok());
    EXPECT_EQ(ReadFile(dir / "out").size(), size_t(at) + file.size());
}

TEST(ExtractEntry, CompressedStopsAtSizeAndWritesOnlyWhatItObtained)
{
    ScratchDir dir;
    const Bytes data = Pseudorandom(700000, 3);
    const Bytes packed = Deflate(data);
    const int64_t at = WithPayload(dir / "exe", packed);
    const auto packedSize = int64_t(packed.size());
    Bytes damaged = packed;
    damaged.back() ^= 0xFF; // the checksum: every byte inflates, then the stream is refused
    WithPayload(dir / "damaged", damaged);
    const struct {
        const char *name;
        const char *exe;
        int64_t size, packedSize;
        size_t expected; // bytes written, a prefix of data; SIZE_MAX = some prefix, shorter than data
        bool ok;
    } cases[] = {
        {"whole", "exe", int64_t(data.size()), packedSize, data.size(), true},
        {"Size below the stream", "exe", 1000, packedSize, 1000, true},
        {"Size above the stream", "exe", 2000000000, packedSize, data.size(), true},
        {"Size 0", "exe", 0, packedSize, 0, true},
        {"stream cut short", "exe", int64_t(data.size()), packedSize / 3, SIZE_MAX, false},
        {"damaged checksum", "damaged", int64_t(data.size()), packedSize, data.size(), false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ExtractEntry(dir / c.exe, dir / "out", true, c.size, c.packedSize, at).Ok(), c.ok) << c.name;
        const Bytes out = ReadFile(dir / "out");
        if (c.expected == SIZE_MAX) {
            EXPECT_LT(out.size(), data.size()) << c.name;
            EXPECT_GT(out.size(), 0u) << c.name;
        } else
            EXPECT_EQ(out.size(), c.expected) << c.name;
        EXPECT_EQ(out, Prefix(data, out.size())) << c.name;
    }
}

TEST(ExtractEntry, RangesOutsideTheFileCreateNoFile)
{
    ScratchDir dir;
    const Bytes packed = Deflate(Bytes(1000, 'x'));
    const int64_t at = WithPayload(dir / "exe", packed);
    const int64_t length = at + int64_t(packed.size());
    const struct {
        bool compressed;
        int64_t size, packedSize, offset;
    } cases[] = {
        {false, 10, 0, -1},          {false, -5, 0, at},         {false, 1, 0, length},
        {false, 2, 0, length - 1},   {false, INT32_MAX, 0, at},  {false, 10, 0, int64_t(1) << 40},
        {true, 1000, 0, at},         {true, 1000, -1, at},       {true, -1, int64_t(packed.size()), at},
        {true, 1000, int64_t(packed.size()) + 1, at}, {true, 1000, 10, length},
    };
    for (const auto &c : cases) {
        WriteFile(dir / "out", {'o', 'l', 'd'}); // the previous file of that name goes
        EXPECT_FALSE(ExtractEntry(dir / "exe", dir / "out", c.compressed, c.size, c.packedSize, c.offset).Ok())
            << c.compressed << " " << c.size << " " << c.packedSize << " " << c.offset;
        EXPECT_FALSE(Exists(dir / "out"));
    }
    EXPECT_FALSE(ExtractEntry(dir / "missing", dir / "out", false, 1, 0, 0).Ok());
    EXPECT_FALSE(Exists(dir / "out"));
}

TEST(ExtractEntry, PlantedLinkIsNotFollowed)
{
    ScratchDir dir;
    const int64_t at = WithPayload(dir / "exe", Bytes(64, 'n'));
    WriteFile(dir / "victim", {'k', 'e', 'e', 'p'});
    std::filesystem::create_symlink(dir / "victim", dir / "SSIMG.jpg");
    std::filesystem::create_symlink(dir / "created-by-link", dir / "SSSND.mp3"); // dangling
    ASSERT_TRUE(ExtractEntry(dir / "exe", dir / "SSIMG.jpg", false, 64, 0, at).Ok());
    ASSERT_TRUE(ExtractEntry(dir / "exe", dir / "SSSND.mp3", false, 64, 0, at).Ok());
    EXPECT_EQ(ReadFile(dir / "victim"), (Bytes{'k', 'e', 'e', 'p'}));
    EXPECT_FALSE(Exists(dir / "created-by-link"));
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "SSIMG.jpg"));
    EXPECT_EQ(ReadFile(dir / "SSIMG.jpg"), Bytes(64, 'n'));
}

// In a child process whose address space may grow by 64 MiB only, a declared Size of
// 2 GB and a small stream that inflates to far more than Size both extract.
TEST(ExtractEntry, InflateMemoryDoesNotGrowWithSize)
{
    ScratchDir dir;
    const Bytes plain = Pseudorandom(3 << 20, 4);
    const int64_t at = WithPayload(dir / "exe", Deflate(plain));
    const int64_t packedSize = int64_t(ReadFile(dir / "exe").size()) - at;
    const Bytes bomb = Deflate(Bytes(size_t(256) << 20, 0)); // about 250 KiB inflating to 256 MiB
    const int64_t bombAt = WithPayload(dir / "bomb", bomb);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + (rlim_t(64) << 20);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_AS, &rl);
        const bool declared = ExtractEntry(dir / "exe", dir / "big", true, 2000000000, packedSize, at).Ok();
        const bool bounded = ExtractEntry(dir / "bomb", dir / "bomb-out", true, 5 << 20, int64_t(bomb.size()), bombAt).Ok();
        ::_exit(declared && bounded ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFile(dir / "big"), plain);
    EXPECT_EQ(std::filesystem::file_size(dir / "bomb-out"), uintmax_t(5) << 20);
}

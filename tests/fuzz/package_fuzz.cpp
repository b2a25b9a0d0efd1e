// Fuzz target of the package reader and the extractor: the input is a whole executable
// with (perhaps) a package at its end.
#include "package/entries.h"
#include "package/extract.h"
#include "package/reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace pictoralia;

namespace {

// Compressed entries may claim up to 2 GB; a small stream of zeros really inflates to
// a thousand times its size. The cap keeps each run short; the bound itself is the
// extractor's and is exercised below the cap.
constexpr int64_t InflateCap = 1 << 20;

const std::string &Folder()
{
    static const std::string folder = [] {
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/pictoralia-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return pattern + "/";
    }();
    return folder;
}

void Extract(const std::string &exe, EntryLocation entry)
{
    if (entry.Compressed)
        entry.Size = std::min(entry.Size, InflateCap);
    ExtractEntry(exe, Folder() + "entry", entry);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string exe = Folder() + "saver";
    const int fd = ::open(exe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || ::write(fd, data, size) != ssize_t(size))
        std::abort();
    ::close(fd);

    Package p;
    if (!ReadPackage(exe, p).Ok())
        return 0;
    for (const auto &r : p.Items)
        Extract(exe, ItemEntry(p, r));
    for (const auto &r : p.Masks)
        Extract(exe, MaskEntry(p, r));
    for (const auto &r : p.EnterSounds)
        Extract(exe, EnterSoundEntry(p, r));
    for (const auto &r : p.Melodies)
        Extract(exe, MelodyEntry(p, r));
    Extract(exe, PreviewEntry(p));
    Extract(exe, ExitBannerEntry(p));
    Extract(exe, LogoEntry(p));
    Extract(exe, BackgroundEntry(p));
    return 0;
}

// ExtractEntry: copies or inflates one entry of a package into a file of its own, so
// that picture readers and players can open it by name.
#pragma once

#include "package/entries.h"
#include "package/status.h"

#include <cstdint>
#include <string>

namespace pictoralia {

// Stored entries are copied in blocks of this many bytes, never read whole.
constexpr int64_t ChunkSize = 524288;

// Copies the entry at the absolute position Offset of ExeName into DestName.
// - Stored (Compressed false): Size bytes in ChunkSize blocks; Size 0 means up to the
//   end of the executable.
// - Compressed: PackedSize bytes of one zlib stream, inflated in bounded chunks
//   straight into DestName and stopping after Size bytes; only the bytes obtained are
//   written, also when the stream is damaged or shorter. Memory stays under 1 MiB
//   whatever Size and the stream claim.
// An existing DestName is removed first, whatever happens next; the new file is made
// with O_CREAT|O_EXCL|O_NOFOLLOW (mode 0644 less the umask), so a link planted under
// that name is never followed. A range that is negative or reaches past the end of the
// executable creates no file.
// The run-time ignores the result, as extraction failures stay silent (the caller
// finds out when it opens the file); tools and tests read it. Any thread; each call
// opens and closes its own files.
Status ExtractEntry(const std::string &ExeName, const std::string &DestName, bool Compressed, int64_t Size,
                    int64_t PackedSize, int64_t Offset);
Status ExtractEntry(const std::string &ExeName, const std::string &DestName, const EntryLocation &entry);

} // namespace pictoralia

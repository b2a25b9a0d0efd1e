// Shared helpers of the package tests: a scratch folder, file bytes, and a writer with
// every field and entry kind filled.
#pragma once

#include "package/records.h"
#include "package/writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pictoralia::test {

using Bytes = std::vector<uint8_t>;

// A fresh folder under $TMPDIR or /tmp, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;
    const std::string &path() const { return m_path; }
    std::string operator/(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

Bytes ReadFile(const std::string &path);
void WriteFile(const std::string &path, const Bytes &bytes);
bool Exists(const std::string &path);
Bytes Pseudorandom(size_t size, uint32_t seed);
Bytes Deflate(const Bytes &plain);

// A small stand-in for the program the package is appended to.
Bytes TemplateBytes();

// Reads the header of a written package, lets change patch it and writes it back.
template <class F> void PatchHeader(const std::string &path, F &&change);

// The data each entry of FullWriter carries.
struct FullContent {
    Bytes Items[3], Masks[2], EnterSounds[2], Melodies[2], Preview, Banner, ExitBanner, Logo, Background;
};
PackageWriter FullWriter(const FullContent &content);
FullContent MakeFullContent();

} // namespace pictoralia::test

#include "package/codec.h"

namespace pictoralia::test {
template <class F> void PatchHeader(const std::string &path, F &&change)
{
    Bytes file = ReadFile(path);
    const size_t at = file.size() - PackageHeaderSize - PackageSignatureSize;
    PackageHeader h = DecodePackageHeader(std::span<const uint8_t, PackageHeaderSize>(file.data() + at, PackageHeaderSize));
    change(h);
    const auto bytes = EncodePackageHeader(h);
    std::copy(bytes.begin(), bytes.end(), file.begin() + long(at));
    WriteFile(path, file);
}
} // namespace pictoralia::test

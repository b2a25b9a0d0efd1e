// The package side of ReadData: reads the header, texts and record tables that a
// builder appended to an executable. Pure: it reports what failed and shows nothing;
// the caller shows the package error (packageerror.h) and ends.
//
// ReadData runs these steps with its own in between:
//   PackageReader r;
//   r.Open(exe)                   open the program's own file
//   r.ReadHeaderAndTexts(pkg)     header, signature, the 18 texts
//   -- translation table, stored settings over the header defaults, dialog set-up;
//      in configuration mode go straight to Close --
//   -- window colour, random colours and gradient --
//   r.ReadTables(pkg)             item, mask and enter-sound tables
//   -- background bitmap, background picture (BackgroundEntry), logo --
//   r.ReadMelodyTable(pkg)        melody table
//   -- playlist, CurrentMelody := 0 --
//   r.Close()
// Any failing step fails ReadData. ReadPackage runs the package steps alone.
//
// Untrusted input: every count, area length and text length is checked against the
// file before anything is allocated; a value that is negative or reaches past the
// header fails the step like a short read. Entry offsets in the records are not
// checked here: ExtractEntry checks them when an entry is used.
//
// One reader per thread; it owns the open file until Close or destruction.
#pragma once

#include "package/fileio.h"
#include "package/records.h"
#include "package/status.h"

#include <string>

namespace pictoralia {

class PackageReader {
public:
    // Opens exeName for reading.
    [[nodiscard]] Status Open(const std::string &exeName);

    // Reads the header and checks the signature ("Pictoralia", exact) at the end of the
    // file, then the 18 texts after the areas. Sets package.ExeName, PackageStart,
    // Header (FileSizeSlot := the file's length, at most INT32_MAX) and Texts.
    [[nodiscard]] Status ReadHeaderAndTexts(Package &package);

    // Reads ItemCount, MaskCount and EnterSoundCount records from the start of their
    // areas into package.Items, Masks and EnterSounds. Needs ReadHeaderAndTexts first;
    // uses the layout it read, not package.Header, so in-memory setting changes between
    // the steps do not matter.
    [[nodiscard]] Status ReadTables(Package &package);

    // Reads MelodyEntryCount records from the start of the melody area into
    // package.Melodies.
    [[nodiscard]] Status ReadMelodyTable(Package &package);

    void Close();

private:
    FileDescriptor m_file;
    std::string m_exeName;
    int64_t m_fileLength = 0;
    bool m_headerRead = false;
    Package m_layout; // header and PackageStart as read, for the later steps
};

// Open, ReadHeaderAndTexts, ReadTables, ReadMelodyTable, Close. On failure package is
// left partly filled; callers discard it.
[[nodiscard]] Status ReadPackage(const std::string &exeName, Package &package);

} // namespace pictoralia

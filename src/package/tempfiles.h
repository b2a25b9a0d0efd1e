// The folders the run-time writes into and the names of its extracted files.
#pragma once

#include <string>
#include <string_view>

namespace pictoralia {

// The private folder of this run for extracted files, ending in "/": made on first call
// with mkdtemp (mode 0700) under $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp, named
// "pictoralia-<pid>-XXXXXX". Before it is made, the folders of that form left behind by
// dead processes of this user (say, killed with SIGKILL) are removed. It is removed
// again at exit (atexit) or by RemoveTempFolder. Empty when no folder could be made;
// every extraction into it then fails. Thread-safe.
std::string TempFolder();

// Removes the private folder and everything in it, if it was made; the next TempFolder
// makes a new one. Call it on the normal end and from the shell's handling of SIGTERM,
// SIGINT and SIGHUP once the signal has been turned into a normal-context call (it is
// not async-signal-safe). Thread-safe.
void RemoveTempFolder();

// $XDG_DATA_HOME/pictoralia (default ~/.local/share/pictoralia), made when missing,
// without a trailing separator.
std::string WindowsFolder();

// The Windows version classification: always -1 on Linux.
int WindowsVersionCode();

// ext when it is an extension the picture decoders and players know (with its dot,
// compared case-insensitively; kept as written), else the fixed ".invalid", so an
// entry with a strange extension fails to decode instead of naming a path.
std::string SafeExtension(std::string_view ext);

// TempFolder() + prefix + SafeExtension(ext), e.g. TempFileName("SSIMG", item.Ext);
// empty when there is no private folder.
std::string TempFileName(std::string_view prefix, std::string_view ext);

// The two halves of TempFolder, for tests: makes a private folder under base (returns
// it with a trailing "/", or empty), and removes the stale ones under base (returns how
// many were removed).
std::string MakePrivateFolder(const std::string &base);
int RemoveStalePrivateFolders(const std::string &base);

} // namespace pictoralia

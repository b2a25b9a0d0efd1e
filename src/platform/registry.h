// The registry stand-in: one typed text file per user (a registry export in form), and
// TRegistry, the key-and-value access the program uses on top of it.
#pragma once

#include "platform/registrydoc.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pictoralia {

// A value or the reason there is none.
template <class T>
struct RegResult {
    std::optional<T> value;
    std::string error;

    explicit operator bool() const { return value.has_value(); }
    const T &operator*() const { return *value; }
};

// $PICTORALIA_REGISTRY, else $XDG_CONFIG_HOME/pictoralia/registry.reg (XDG_CONFIG_HOME
// defaulting to ~/.config).
std::string DefaultRegistryPath();

// The store file. Readers take a snapshot without locking (the file is only ever
// replaced by a rename). Writers hold an advisory lock on "<file>.lock" for the whole
// read-modify-write, so concurrent programs lose no update, and replace the file
// atomically (temporary file in the same folder, fsync, rename). A file that cannot be
// parsed is reported on stderr and never overwritten. Any thread; no shared state.
class RegistryStore {
public:
    explicit RegistryStore(std::string path) : m_path(std::move(path)) {}
    static RegistryStore Default() { return RegistryStore(DefaultRegistryPath()); }

    const std::string &Path() const { return m_path; }

    // A missing file is an empty store.
    RegResult<RegistryDocument> Load() const;

    // Under the lock: removes temporary files that a killed writer left, reloads the
    // store, runs change on it and, when change returns true, writes it back.
    // Returns an empty string on success, else what failed (the file is then unchanged).
    std::string Edit(const std::function<bool(RegistryDocument &)> &change) const;

private:
    std::string m_path;
};

enum class RegRoot { CurrentUser };
inline constexpr RegRoot HKEY_CURRENT_USER = RegRoot::CurrentUser;
std::string_view RootKeyName(RegRoot root); // "HKEY_CURRENT_USER"

// Windows-style access to one key at a time. OpenKey and OpenKeyReadOnly take a key
// path relative to the open key, or from the root when it starts with "\".
// Changes are collected and written in one atomic replace when the key is closed
// (CloseKey, opening another key, or destruction); they are replayed on the store as it
// is then, so values that other programs changed meanwhile are kept.
// Reading a value that is missing or of another type fails.
class TRegistry {
public:
    explicit TRegistry(const RegistryStore &store, RegRoot root = HKEY_CURRENT_USER);
    ~TRegistry();
    TRegistry(const TRegistry &) = delete;
    TRegistry &operator=(const TRegistry &) = delete;

    // False when the key does not exist or the store cannot be read; creates nothing.
    bool OpenKeyReadOnly(std::string_view key);
    // For reading and writing; creates the key when canCreate. False when the key does
    // not exist (and !canCreate) or the store cannot be read.
    bool OpenKey(std::string_view key, bool canCreate);
    // Writes the collected changes; false (and LastError) when that failed.
    bool CloseKey();

    bool KeyExists(std::string_view key) const;
    bool ValueExists(std::string_view name) const;
    RegResult<int32_t> ReadInteger(std::string_view name) const;
    RegResult<bool> ReadBool(std::string_view name) const; // a DWORD, not 0 = true
    RegResult<std::string> ReadString(std::string_view name) const;

    // False when no key is open for writing.
    bool WriteInteger(std::string_view name, int32_t value);
    bool WriteBool(std::string_view name, bool value);
    bool WriteString(std::string_view name, std::string_view value);
    bool DeleteValue(std::string_view name);

    const std::string &CurrentPath() const { return m_currentPath; } // full path, "" when closed
    const std::string &LastError() const { return m_error; }
    // Whether the last failure was the store itself (unreadable, damaged, not writable)
    // rather than a missing key or value.
    bool StoreFailed() const { return m_storeFailed; }

private:
    struct Change {
        enum Kind { CreateKey, Set, Delete } kind;
        std::string path;
        RegValue value;
    };

    std::string resolve(std::string_view key) const;
    bool open(std::string_view key, bool writable, bool canCreate);
    bool record(Change change);
    const RegValue *find(std::string_view name) const;

    RegistryStore m_store;
    RegRoot m_root;
    RegistryDocument m_snapshot; // the store as read at opening, with the changes applied
    std::vector<Change> m_changes;
    std::string m_currentPath;
    bool m_writable = false;
    std::string m_error;
    bool m_storeFailed = false;
};

} // namespace pictoralia

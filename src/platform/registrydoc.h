// The settings store's contents in memory: keys with typed values, read from and written
// to the human-readable text of a registry export ("REGEDIT4", [key], "Name"=dword:...).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pictoralia {

enum class RegType {
    Dword,   // "Name"=dword:0000000a
    String,  // "Name"="text"
    Other,   // any other data (hex:..., written by someone else): kept as written
    Comment, // a ";" line inside a key: kept as written
};

struct RegValue {
    std::string name; // value name as bytes; empty = the key's default value ("@")
    RegType type = RegType::Other;
    uint32_t dword = 0;
    // String: the value's bytes. Other: the data text after "=" (continuation lines
    // joined with "\n"). Comment: the whole line.
    std::string text;
};

struct RegKey {
    std::string path; // from the root, normalised: "HKEY_CURRENT_USER\Software\..."
    std::vector<RegValue> values;
};

// Key paths and value names compare case-insensitively (Unicode case folding for UTF-8
// names). Keys exist when they have a block of their own or a subkey has one.
class RegistryDocument {
public:
    std::vector<std::string> preamble; // comment lines before the first key
    std::vector<RegKey> keys;          // in file order; new keys are appended

    RegKey *FindKey(std::string_view path);
    const RegKey *FindKey(std::string_view path) const;
    bool KeyExists(std::string_view path) const;
    RegKey &CreateKey(std::string_view path);
    const RegValue *FindValue(std::string_view path, std::string_view name) const;
    // Replaces the value of that name (keeping its place) or appends it; creates the key.
    void SetValue(std::string_view path, RegValue value);
    bool DeleteValue(std::string_view path, std::string_view name);
};

struct RegistryParseResult {
    std::optional<RegistryDocument> document;
    std::string error; // "line 7: ..." when the text cannot be read
};

// An empty (or blank) text is an empty store. Anything that is not a header line,
// blank line, comment, [key] line or value line of a key is an error.
RegistryParseResult ParseRegistryText(std::string_view text);
std::string FormatRegistryText(const RegistryDocument &document);

bool SameRegistryName(std::string_view a, std::string_view b);
// Backslash runs collapsed to one, leading and trailing backslashes dropped.
std::string NormalizeKeyPath(std::string_view path);

} // namespace pictoralia

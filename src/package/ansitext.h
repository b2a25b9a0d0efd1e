// Conversion between the package's Windows-1252 text bytes and UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pictoralia {

// Every byte has a character: 0x80..0x9F use the Windows-1252 letters, and the five
// bytes that code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the
// control characters of the same number, so no byte is lost.
std::string AnsiToUtf8(std::string_view ansi);

// The Windows-1252 bytes of a UTF-8 text; on a character that has no byte, nothing
// and that character in *unmappable. Invalid UTF-8 counts as U+FFFD.
std::optional<std::string> Utf8ToAnsi(std::string_view utf8, char32_t *unmappable = nullptr);

} // namespace pictoralia

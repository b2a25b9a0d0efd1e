// Conversion between the package's Windows-1252 text bytes and UTF-8.
#include "package/ansitext.h"

#include <array>
#include <cstdint>

namespace pictoralia {

namespace {

// Characters of the bytes 0x80..0x9F; the undefined bytes map to themselves.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Decodes one character at text[i] and advances i; malformed input gives U+FFFD.
char32_t NextUtf8(std::string_view text, size_t &i)
{
    const auto lead = uint8_t(text[i++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t c = 0;
    char32_t min = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, min = 0x10000;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (uint8_t(text[i]) & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (uint8_t(text[i++]) & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0xFFFD;
    return c;
}

std::optional<uint8_t> AnsiByte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return uint8_t(c);
    for (size_t k = 0; k < HighControls.size(); ++k)
        if (HighControls[k] == c)
            return uint8_t(0x80 + k);
    return std::nullopt;
}

} // namespace

std::string AnsiToUtf8(std::string_view ansi)
{
    std::string out;
    out.reserve(ansi.size());
    for (const char ch : ansi) {
        const auto b = uint8_t(ch);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? HighControls[b - 0x80] : char32_t(b));
    }
    return out;
}

std::optional<std::string> Utf8ToAnsi(std::string_view utf8, char32_t *unmappable)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const char32_t c = NextUtf8(utf8, i);
        const auto b = AnsiByte(c);
        if (!b) {
            if (unmappable)
                *unmappable = c;
            return std::nullopt;
        }
        out += char(*b);
    }
    return out;
}

} // namespace pictoralia

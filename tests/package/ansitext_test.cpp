// Windows-1252 text of the package to UTF-8 and back.
#include "package/ansitext.h"

#include <gtest/gtest.h>

using namespace pictoralia;

TEST(AnsiText, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const std::string utf8 = AnsiToUtf8(all);
    EXPECT_EQ(Utf8ToAnsi(utf8), all);
}

TEST(AnsiText, ByteCharacters)
{
    const struct {
        std::string ansi;
        std::string utf8;
    } cases[] = {
        {"", ""},
        {"Plain ASCII\r\n", "Plain ASCII\r\n"},
        {std::string("\0\x01", 2), std::string("\0\x01", 2)},
        {"\x80", "\u20AC"},          // euro sign
        {"\x9F", "\u0178"},          // Y with diaeresis
        {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"}, // undefined: kept as controls
        {"\xA0\xE9\xFF", "\u00A0\u00E9\u00FF"},
        {"\x93quoted\x94", "\u201Cquoted\u201D"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(AnsiToUtf8(c.ansi), c.utf8);
        EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi);
    }
}

TEST(AnsiText, CharactersWithoutByteAreRefused)
{
    const struct {
        std::string utf8;
        char32_t bad;
    } cases[] = {
        {"caf\u00E9 \u0100", 0x100},
        {"\u20AC\u4E2D", 0x4E2D},
        {"emoji \U0001F600", 0x1F600},
        {"bad \xC3", 0xFFFD},         // truncated sequence
        {"\xC0\x80", 0xFFFD},         // overlong NUL
        {"\xED\xA0\x80", 0xFFFD},     // surrogate
    };
    for (const auto &c : cases) {
        char32_t bad = 0;
        EXPECT_EQ(Utf8ToAnsi(c.utf8, &bad), std::nullopt) << c.utf8;
        EXPECT_EQ(bad, c.bad) << c.utf8;
    }
}

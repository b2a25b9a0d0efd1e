// Parsing and formatting of the settings store's text, and its name comparisons.
#include "platform/registrydoc.h"

#include <QString>
#include <algorithm>
#include <cstdio>

namespace pictoralia {
namespace {

constexpr std::string_view HeaderLine = "REGEDIT4";
constexpr std::string_view HeaderLine5 = "Windows Registry Editor Version 5.00";

bool isAscii(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Length of the well-formed UTF-8 sequence of more than one byte at s[i], or 0.
size_t utf8SequenceAt(std::string_view s, size_t i)
{
    const auto b = [&](size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u; };
    const unsigned c = b(i);
    const auto cont = [&](size_t k, unsigned lo = 0x80, unsigned hi = 0xBF) {
        return b(k) >= lo && b(k) <= hi;
    };
    if (c >= 0xC2 && c <= 0xDF)
        return cont(i + 1) ? 2 : 0;
    if (c == 0xE0)
        return cont(i + 1, 0xA0) && cont(i + 2) ? 3 : 0;
    if ((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF)
        return cont(i + 1) && cont(i + 2) ? 3 : 0;
    if (c == 0xED)
        return cont(i + 1, 0x80, 0x9F) && cont(i + 2) ? 3 : 0;
    if (c == 0xF0)
        return cont(i + 1, 0x90) && cont(i + 2) && cont(i + 3) ? 4 : 0;
    if (c >= 0xF1 && c <= 0xF3)
        return cont(i + 1) && cont(i + 2) && cont(i + 3) ? 4 : 0;
    if (c == 0xF4)
        return cont(i + 1, 0x80, 0x8F) && cont(i + 2) && cont(i + 3) ? 4 : 0;
    return 0;
}

bool isValidUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t n = utf8SequenceAt(s, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendHexByte(std::string &out, char prefix1, char prefix2, unsigned char byte)
{
    static constexpr char digits[] = "0123456789abcdef";
    out += prefix1;
    if (prefix2)
        out += prefix2;
    out += digits[byte >> 4];
    out += digits[byte & 15];
}

// Copies s to out, escaping control characters, DEL and bytes that are not part of a
// well-formed UTF-8 sequence through escape(byte); the file itself stays valid UTF-8.
template <class Escape, class Special>
void appendEscaped(std::string &out, std::string_view s, Escape escape, Special special)
{
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            const size_t n = utf8SequenceAt(s, i);
            if (n) {
                out.append(s.substr(i, n));
                i += n;
            } else {
                escape(c);
                ++i;
            }
        } else if (c < 0x20 || c == 0x7F) {
            escape(c);
            ++i;
        } else {
            special(s, i);
            ++i;
        }
    }
}

// "text" with \\, \" and \xHH escapes.
std::string quote(std::string_view s)
{
    std::string out = "\"";
    appendEscaped(
        out, s, [&](unsigned char c) { appendHexByte(out, '\\', 'x', c); },
        [&](std::string_view, size_t i) {
            if (s[i] == '\\' || s[i] == '"')
                out += '\\';
            out += s[i];
        });
    out += '"';
    return out;
}

// A key path: backslashes separate the keys, so bytes are escaped as %HH instead, and a
// "%" only where it would read as such an escape.
std::string encodeKeyPath(std::string_view s)
{
    std::string out;
    appendEscaped(
        out, s, [&](unsigned char c) { appendHexByte(out, '%', 0, c); },
        [&](std::string_view text, size_t i) {
            if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0
                && hexDigit(text[i + 2]) >= 0)
                appendHexByte(out, '%', 0, '%');
            else
                out += text[i];
        });
    return out;
}

std::string decodeKeyPath(std::string_view s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hexDigit(s[i + 1]) >= 0 && hexDigit(s[i + 2]) >= 0) {
            out += char(hexDigit(s[i + 1]) * 16 + hexDigit(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Reads a quoted string starting at line[pos] == '"'; pos ends after the closing quote.
bool unquote(std::string_view line, size_t &pos, std::string &out, std::string &error)
{
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= line.size())
            break;
        switch (line[pos]) {
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '0': out += '\0'; break;
        case 'x': {
            const int hi = pos + 1 < line.size() ? hexDigit(line[pos + 1]) : -1;
            const int lo = pos + 2 < line.size() ? hexDigit(line[pos + 2]) : -1;
            if (hi < 0 || lo < 0) {
                error = "bad \\x escape";
                return false;
            }
            out += char(hi * 16 + lo);
            pos += 2;
            break;
        }
        default: error = std::string("unknown escape \\") + line[pos]; return false;
        }
    }
    error = "unterminated string";
    return false;
}

std::string_view trimRight(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool blank(std::string_view s) { return trimRight(s).empty(); }

bool pathHasPrefix(std::string_view path, std::string_view prefix)
{
    return path.size() > prefix.size() && path[prefix.size()] == '\\'
        && SameRegistryName(path.substr(0, prefix.size()), prefix);
}

} // namespace

bool SameRegistryName(std::string_view a, std::string_view b)
{
    if (isAscii(a) && isAscii(b)) {
        return a.size() == b.size()
            && std::equal(a.begin(), a.end(), b.begin(),
                          [](char x, char y) { return asciiLower(x) == asciiLower(y); });
    }
    if (!isValidUtf8(a) || !isValidUtf8(b))
        return a == b;
    return QString::fromUtf8(a.data(), qsizetype(a.size()))
               .compare(QString::fromUtf8(b.data(), qsizetype(b.size())), Qt::CaseInsensitive)
        == 0;
}

std::string NormalizeKeyPath(std::string_view path)
{
    std::string out;
    for (char c : path) {
        if (c == '\\' && (out.empty() || out.back() == '\\'))
            continue;
        out += c;
    }
    if (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

RegKey *RegistryDocument::FindKey(std::string_view path)
{
    return const_cast<RegKey *>(std::as_const(*this).FindKey(path));
}

const RegKey *RegistryDocument::FindKey(std::string_view path) const
{
    for (const RegKey &key : keys) {
        if (SameRegistryName(key.path, path))
            return &key;
    }
    return nullptr;
}

bool RegistryDocument::KeyExists(std::string_view path) const
{
    return std::any_of(keys.begin(), keys.end(), [&](const RegKey &key) {
        return SameRegistryName(key.path, path) || pathHasPrefix(key.path, path);
    });
}

RegKey &RegistryDocument::CreateKey(std::string_view path)
{
    if (RegKey *key = FindKey(path))
        return *key;
    keys.push_back(RegKey{NormalizeKeyPath(path), {}});
    return keys.back();
}

const RegValue *RegistryDocument::FindValue(std::string_view path, std::string_view name) const
{
    const RegKey *key = FindKey(path);
    if (!key)
        return nullptr;
    for (const RegValue &value : key->values) {
        if (value.type != RegType::Comment && SameRegistryName(value.name, name))
            return &value;
    }
    return nullptr;
}

void RegistryDocument::SetValue(std::string_view path, RegValue value)
{
    RegKey &key = CreateKey(path);
    for (RegValue &old : key.values) {
        if (old.type != RegType::Comment && SameRegistryName(old.name, value.name)) {
            value.name = old.name; // the name keeps the spelling it was first written with
            old = std::move(value);
            return;
        }
    }
    key.values.push_back(std::move(value));
}

bool RegistryDocument::DeleteValue(std::string_view path, std::string_view name)
{
    RegKey *key = FindKey(path);
    if (!key)
        return false;
    const auto it = std::find_if(key->values.begin(), key->values.end(), [&](const RegValue &v) {
        return v.type != RegType::Comment && SameRegistryName(v.name, name);
    });
    if (it == key->values.end())
        return false;
    key->values.erase(it);
    return true;
}

RegistryParseResult ParseRegistryText(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);

    std::vector<std::string_view> lines;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }

    RegistryDocument doc;
    RegKey *current = nullptr;
    bool header = false;
    const auto fail = [](size_t index, std::string why) {
        return RegistryParseResult{std::nullopt, "line " + std::to_string(index + 1) + ": " + why};
    };

    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (blank(line))
            continue;
        if (!header) {
            const std::string_view t = trimRight(line);
            if (t != HeaderLine && t != HeaderLine5)
                return fail(i, "not a registry export (expected \"REGEDIT4\")");
            header = true;
            continue;
        }
        if (line.front() == ';') {
            if (current)
                current->values.push_back(RegValue{{}, RegType::Comment, 0, std::string(line)});
            else
                doc.preamble.emplace_back(line);
            continue;
        }
        if (line.front() == '[') {
            const std::string_view t = trimRight(line);
            if (t.size() < 2 || t.back() != ']')
                return fail(i, "key line without closing \"]\"");
            const std::string path = NormalizeKeyPath(decodeKeyPath(t.substr(1, t.size() - 2)));
            if (path.empty())
                return fail(i, "empty key name");
            current = &doc.CreateKey(path);
            continue;
        }
        if (line.front() != '"' && line.front() != '@')
            return fail(i, "unrecognised text");
        if (!current)
            return fail(i, "value outside a key");

        RegValue value;
        size_t pos = 0;
        if (line.front() == '@') {
            pos = 1;
        } else {
            std::string error;
            if (!unquote(line, pos, value.name, error))
                return fail(i, "value name: " + error);
        }
        if (pos >= line.size() || line[pos] != '=')
            return fail(i, "\"=\" expected after the value name");
        ++pos;
        const std::string_view data = line.substr(pos);
        if (data.substr(0, 6) == "dword:") {
            const std::string_view digits = trimRight(data.substr(6));
            if (digits.empty() || digits.size() > 8
                || !std::all_of(digits.begin(), digits.end(), [](char c) { return hexDigit(c) >= 0; }))
                return fail(i, "bad dword value");
            value.type = RegType::Dword;
            for (char c : digits)
                value.dword = value.dword * 16 + uint32_t(hexDigit(c));
        } else if (!data.empty() && data.front() == '"') {
            std::string error;
            size_t p = pos;
            if (!unquote(line, p, value.text, error))
                return fail(i, error);
            if (!blank(line.substr(p)))
                return fail(i, "text after the closing quote");
            value.type = RegType::String;
        } else {
            value.type = RegType::Other;
            value.text = std::string(data);
            while (!value.text.empty() && value.text.back() == '\\' && i + 1 < lines.size()) {
                value.text += '\n';
                value.text += lines[++i];
            }
        }
        doc.SetValue(current->path, std::move(value));
    }
    return {std::move(doc), {}};
}

std::string FormatRegistryText(const RegistryDocument &document)
{
    std::string out(HeaderLine);
    out += '\n';
    for (const std::string &line : document.preamble) {
        out += line;
        out += '\n';
    }
    for (const RegKey &key : document.keys) {
        out += "\n[";
        out += encodeKeyPath(key.path);
        out += "]\n";
        for (const RegValue &value : key.values) {
            if (value.type == RegType::Comment) {
                out += value.text;
                out += '\n';
                continue;
            }
            out += value.name.empty() ? std::string("@") : quote(value.name);
            out += '=';
            switch (value.type) {
            case RegType::Dword: {
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x", value.dword);
                out += buf;
                break;
            }
            case RegType::String: out += quote(value.text); break;
            case RegType::Other:
            case RegType::Comment: out += value.text; break;
            }
            out += '\n';
        }
    }
    return out;
}

} // namespace pictoralia

// A package as JSON, keys in file order.
#include "json.h"

#include "package/ansitext.h"
#include "package/fields.h"

#include <cstdio>
#include <vector>

namespace pictoralia::pack {

namespace {


// Writes nested objects and arrays with two-space indentation.
class JsonWriter {
public:
    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Key(std::string_view name)
    {
        Separate();
        m_out += JsonQuote(name);
        m_out += ": ";
        m_afterKey = true;
    }
    void Value(const std::string &literal)
    {
        Separate();
        m_out += literal;
    }
    std::string Take() { return std::move(m_out) + "\n"; }

private:
    void Separate()
    {
        if (m_afterKey) {
            m_afterKey = false;
            return;
        }
        if (!m_counts.empty()) {
            if (m_counts.back()++ > 0)
                m_out += ',';
            Newline();
        }
    }
    void Open(char bracket)
    {
        Separate();
        m_out += bracket;
        m_counts.push_back(0);
    }
    void Close(char bracket)
    {
        const bool empty = m_counts.back() == 0;
        m_counts.pop_back();
        if (!empty)
            Newline();
        m_out += bracket;
    }
    void Newline()
    {
        m_out += '\n';
        m_out.append(m_counts.size() * 2, ' ');
    }

    std::string m_out;
    std::vector<int> m_counts; // values written so far in each open object or array
    bool m_afterKey = false;
};

template <typename Record>
void WriteRecord(JsonWriter &json, const Record &record)
{
    json.BeginObject();
    VisitFields(record, [&](const FieldInfo &field, const auto &value) {
        json.Key(field.Name);
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, bool>)
            json.Value(value ? "true" : "false");
        else if constexpr (std::is_same_v<T, std::string>)
            json.Value(JsonQuote(AnsiToUtf8(value)));
        else
            json.Value(std::to_string(value));
    });
    json.EndObject();
}

template <typename Record>
void WriteTable(JsonWriter &json, std::string_view name, const std::vector<Record> &records)
{
    json.Key(name);
    json.BeginArray();
    for (const auto &record : records)
        WriteRecord(json, record);
    json.EndArray();
}

} // namespace

std::string JsonQuote(std::string_view utf8)
{
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = uint8_t(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

std::string PackageToJson(const Package &package)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("packageStart");
    json.Value(std::to_string(package.PackageStart));
    json.Key("header");
    WriteRecord(json, package.Header);
    WriteTable(json, "items", package.Items);
    WriteTable(json, "masks", package.Masks);
    WriteTable(json, "enterSounds", package.EnterSounds);
    WriteTable(json, "melodies", package.Melodies);
    json.Key("texts");
    json.BeginObject();
    for (int i = 0; i < PackageTextCount; ++i) {
        json.Key(PackageTextNames[size_t(i)]);
        json.Value(JsonQuote(AnsiToUtf8(TextAt(package.Texts, i))));
    }
    json.EndObject();
    json.EndObject();
    return json.Take();
}

} // namespace pictoralia::pack

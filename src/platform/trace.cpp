// Trace file writer, opened on first use from PICTORALIA_TRACE.
#include "platform/trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace pictoralia {
namespace {

struct TraceFile {
    std::mutex mutex;
    std::FILE *file = nullptr;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

    TraceFile()
    {
        const char *path = std::getenv("PICTORALIA_TRACE");
        if (path && *path)
            file = std::fopen(path, "w");
    }
    ~TraceFile()
    {
        if (file)
            std::fclose(file);
    }
};

TraceFile &traceFile()
{
    static TraceFile instance;
    return instance;
}

} // namespace

bool TraceEnabled() { return traceFile().file != nullptr; }

void Trace(std::string_view event, std::initializer_list<TraceField> fields)
{
    TraceFile &t = traceFile();
    if (!t.file)
        return;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - t.start)
                        .count();
    std::string line = std::to_string(ms);
    line += ' ';
    line += event;
    for (const auto &[key, value] : fields) {
        line += ' ';
        line += key;
        line += '=';
        line += value;
    }
    line += '\n';
    std::lock_guard lock(t.mutex);
    std::fwrite(line.data(), 1, line.size(), t.file);
    std::fflush(t.file);
}

std::string TraceQuote(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7f) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", u);
            out += buf;
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string TraceHex(unsigned value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04x", value);
    return buf;
}

} // namespace pictoralia

// The trace routine: silent unless PICTORALIA_TRACE names a file; then one line per
// event, "<ms since start> <event> key=value ...", flushed as written.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace pictoralia {

using TraceField = std::pair<std::string_view, std::string>;

// Any thread. Values are written as given; wrap text in TraceQuote.
void Trace(std::string_view event, std::initializer_list<TraceField> fields = {});

// "text" with backslash escapes for quote, backslash and control characters.
std::string TraceQuote(std::string_view text);

// Hexadecimal with 0x and at least four digits, as message numbers are written.
std::string TraceHex(unsigned value);

// Whether a trace file is open (callers may skip building expensive fields).
bool TraceEnabled();

} // namespace pictoralia

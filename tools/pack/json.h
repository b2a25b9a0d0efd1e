// A package as JSON: every header field, the tables and the 18 texts by name, with
// text bytes decoded as Windows-1252.
#pragma once

#include "package/records.h"

#include <string>
#include <string_view>

namespace pictoralia::pack {

// Pretty-printed, keys in file order, ending with a newline.
std::string PackageToJson(const Package &package);

// A JSON string literal (with its quotes) of UTF-8 text; controls, quotes and
// backslashes escaped.
std::string JsonQuote(std::string_view utf8);

} // namespace pictoralia::pack

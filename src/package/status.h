// The result of a package operation: success, or a short description of what failed.
#pragma once

#include <string>
#include <utility>

namespace pictoralia {

struct Status {
    std::string Error; // empty = success; otherwise what failed, for logs, tools and tests

    bool Ok() const { return Error.empty(); }
    static Status Success() { return {}; }
    static Status Failure(std::string what) { return {what.empty() ? "failed" : std::move(what)}; }
};

} // namespace pictoralia

// Errors that a guard swallows on purpose (the show goes on) stay visible: each is
// logged to the category "pictoralia.swallowed" and counted; with
// PICTORALIA_FATAL_SWALLOWED=1 the program aborts instead, so a test run can treat
// any swallowed error as a failure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pictoralia {

// Any thread.
void ReportSwallowed(std::string_view where, std::string_view what);
// Inside a catch block: the message of the exception being handled.
std::string CurrentExceptionText();
// How many errors were swallowed since the program started.
uint64_t SwallowedCount();

} // namespace pictoralia

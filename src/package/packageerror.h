// The fixed error of a missing or damaged package.
#pragma once

#include <string>

namespace pictoralia {

// The message box text shown when the package cannot be read, lines joined by CR LF.
std::string PackageErrorText();

} // namespace pictoralia

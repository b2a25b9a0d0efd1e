// Program start: the application object, the main window, the message loop and the
// orderly end, for every mode.
#pragma once

#include "shell/showseams.h"

#include <memory>

namespace pictoralia {

// Runs the program on its command line; returns the exit status (1 when the package
// could not be read, else 0). show = the seams of the show (nullptr: empty ones).
int RunProgram(int argc, char **argv, std::unique_ptr<ShowSeams> show = nullptr);

} // namespace pictoralia

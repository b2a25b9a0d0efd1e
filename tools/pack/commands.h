// The two commands of pictoralia-pack. Each returns the process's exit status and
// reports on stderr.
#pragma once

#include <string>

namespace pictoralia::pack {

// Copies the template and appends the package the manifest describes. Nothing is
// written when the manifest, a file it names or the writing fails. Progress goes to
// stderr when the inputs are large.
int BuildCommand(const std::string &manifest, const std::string &output,
                 const std::string &templatePath);

// Prints the package of a saver as JSON on stdout; with a folder, also extracts every
// entry into it. A file without a readable package prints the package error text.
int InspectCommand(const std::string &saver, const std::string &extractFolder);

} // namespace pictoralia::pack

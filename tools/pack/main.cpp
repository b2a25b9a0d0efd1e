// pictoralia-pack: builds a screen saver from a manifest, or prints what one contains.
#include "commands.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char *Usage =
    "usage: pictoralia-pack build MANIFEST -o OUTPUT [--template PATH]\n"
    "       pictoralia-pack inspect SAVER [--extract DIR]\n"
    "\n"
    "build    copies the template (by default the pictoralia-saver beside this program)\n"
    "         and appends the package that the TOML manifest describes\n"
    "inspect  prints the package of a screen saver as JSON; --extract also writes\n"
    "         every entry into DIR\n";

int UsageError(const char *what)
{
    std::fprintf(stderr, "pictoralia-pack: %s\n%s", what, Usage);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // picture readers for the manifest checks
    if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (argc < 3)
        return UsageError("missing command or file");
    const std::string command = argv[1];
    const std::string file = argv[2];
    std::string output, templatePath, extract;
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        std::string *value = command == "build" && (option == "-o" || option == "--output") ? &output
                             : command == "build" && option == "--template"                 ? &templatePath
                             : command == "inspect" && option == "--extract"                ? &extract
                                                                                            : nullptr;
        if (!value)
            return UsageError(("unknown option " + option).c_str());
        if (++i == argc || !*argv[i])
            return UsageError((option + " needs a value").c_str());
        *value = argv[i];
    }
    if (command == "build") {
        if (output.empty())
            return UsageError("build needs -o OUTPUT");
        if (templatePath.empty())
            templatePath = QDir(QCoreApplication::applicationDirPath())
                               .filePath("pictoralia-saver")
                               .toStdString();
        return pictoralia::pack::BuildCommand(file, output, templatePath);
    }
    if (command == "inspect")
        return pictoralia::pack::InspectCommand(file, extract);
    return UsageError(("unknown command " + command).c_str());
}

// Logging and counting of swallowed errors.
#include "platform/swallow.h"

#include <QLoggingCategory>
#include <atomic>
#include <cstdlib>
#include <exception>

namespace pictoralia {
namespace {

Q_LOGGING_CATEGORY(lcSwallowed, "pictoralia.swallowed")

std::atomic<uint64_t> g_swallowed{0};

bool Fatal()
{
    static const bool fatal = qEnvironmentVariableIntValue("PICTORALIA_FATAL_SWALLOWED") != 0;
    return fatal;
}

} // namespace

void ReportSwallowed(std::string_view where, std::string_view what)
{
    g_swallowed.fetch_add(1);
    const QString text = QString::fromUtf8(where.data(), qsizetype(where.size())) + QStringLiteral(": ") +
                         QString::fromUtf8(what.data(), qsizetype(what.size()));
    if (Fatal())
        qFatal("swallowed error: %s", qPrintable(text));
    qCWarning(lcSwallowed).noquote() << text;
}

std::string CurrentExceptionText()
{
    try {
        throw;
    } catch (const std::exception &e) {
        return e.what();
    } catch (...) {
        return "unknown exception";
    }
}

uint64_t SwallowedCount() { return g_swallowed.load(); }

} // namespace pictoralia

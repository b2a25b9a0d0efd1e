// pictoralia-pack build: a screen saver from the template and a manifest.
#include "commands.h"

#include "manifest.h"
#include "package/writer.h"

#include <unistd.h>

#include <cstdio>

namespace pictoralia::pack {

namespace {

constexpr int64_t ProgressFrom = 16 << 20; // inputs smaller than this finish quietly

// Percentages on stderr: one updated line on a terminal, a line per tenth otherwise.
class ProgressReport {
public:
    explicit ProgressReport(std::string output)
        : m_output(std::move(output)), m_tty(isatty(2)), m_step(m_tty ? 1 : 10), m_next(m_step)
    {
    }
    void operator()(int64_t done, int64_t total)
    {
        if (total < ProgressFrom)
            return;
        const int percent = int(done * 100 / total);
        if (percent < m_next)
            return;
        m_next = percent == 100 ? 101 : (percent / m_step + 1) * m_step;
        std::fprintf(stderr, "%spictoralia-pack: writing %s: %3d%% of %lld MiB%s", m_tty ? "\r" : "",
                     m_output.c_str(), percent, static_cast<long long>(total >> 20),
                     m_tty && percent < 100 ? "" : "\n");
    }

private:
    std::string m_output;
    bool m_tty;
    int m_step; // percent between two reports
    int m_next; // the next percentage to report
};

} // namespace

int BuildCommand(const std::string &manifestPath, const std::string &output,
                 const std::string &templatePath)
{
    Manifest manifest;
    try {
        manifest = LoadManifest(manifestPath);
    } catch (const ManifestError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }

    PackageWriter writer;
    writer.Header = manifest.header;
    writer.Texts = manifest.texts;
    for (const auto &item : manifest.items)
        writer.AddItem(item.record, item.source);
    for (const auto &mask : manifest.masks)
        writer.AddMask(mask.record, mask.source);
    for (const auto &sound : manifest.enterSounds)
        writer.AddEnterSound(sound.record, sound.source);
    for (const auto &melody : manifest.melodies)
        writer.AddMelody(melody.record, melody.source);
    if (manifest.preview)
        writer.SetPreviewPicture(manifest.preview->source);
    if (manifest.banner)
        writer.SetBannerArea(manifest.banner->source);
    if (manifest.exitBanner)
        writer.SetExitBanner(manifest.exitBanner->source);
    if (manifest.logo)
        writer.SetLogo(manifest.logo->source);
    if (manifest.background)
        writer.SetBackground(manifest.background->source);

    ProgressReport progress(output);
    const Status written = writer.Write(templatePath, output, std::ref(progress));
    if (!written.Ok()) {
        std::fprintf(stderr, "pictoralia-pack: %s: %s (nothing written)\n", output.c_str(),
                     written.Error.c_str());
        return 1;
    }
    return 0;
}

} // namespace pictoralia::pack

// Reading and checking the builder's TOML manifest.
#include "manifest.h"

#include "effectlist.h"
#include "package/ansitext.h"
#include "package/fields.h"
#include "package/tempfiles.h"

#include <QImageReader>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <limits>
#include <set>
#include <span>
#include <sstream>
#include <toml++/toml.h>

namespace pictoralia::pack {

namespace {

namespace fs = std::filesystem;

constexpr size_t ShortStringMax = 251; // a length byte and the characters
constexpr size_t TextMax = 65535;      // a 16-bit length and the characters
constexpr size_t RecordExtMax = 5;     // char[5], ends at the first zero byte
constexpr size_t SoundExtMax = 7;      // the enter sound's 8-byte short string

constexpr int64_t I32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t I32Max = std::numeric_limits<int32_t>::max();

// The record fields an author sets, with the range of each number. Fields not listed
// are the writer's: sizes, offsets, counts and the extensions it takes from the files.
// Ranges are those of the configuration dialog, so a default the dialog cannot show is
// refused when the saver is built rather than altered when it runs.
enum class As { Kind, Boolean, Effects }; // Kind: as the field's kind says
struct Settable {
    std::string_view name;
    int64_t min = 0;
    int64_t max = 0;
    As as = As::Kind;
};

const Settable HeaderSettings[] = {
    {"Seconds", 1, 60},        {"DisplayOrder", 0, 2},     {"BackColor1"},
    {"BackColor2"},            {"GradientStyle", 0, 8},    {"BackPictureMode", 0, 2},
    {"DesktopBackground"},     {"RandomColors"},           {"RandomGradient"},
    {"RepaintBackground"},     {"Stretch", 0, 5},          {"Loop"},
    {"Mute"},                  {"ShuffleMelody"},          {"DesktopStart"},
    {"OpeningFirstItem"},      {"MuteVideo"},              {"AllowOwnPlaylist"},
    {"PlayOneRandom"},         {"ExitMouseMove"},          {"ExitMouseButton"},
    {"ExitKeyboard"},          {"ExitESC"},                {"HideGeneralTab"},
    {"HidePositionTab"},       {"HideEffectsTab"},         {"HideSoundTab"},
    {"HideBehaviorTab"},       {"EffectSpeed", 1, 10},     {"LogoPlacement", 0, 6},
    {"LogoMarginX", I32Min, I32Max}, {"LogoMarginY", I32Min, I32Max},
    {"LogoTransparentColor"},  {"AllowRunAsProgram"},
};

const Settable ItemSettings[] = {
    {"CaptionPlacement", 0, 6},
    {"CaptionColor"},
    {"CaptionMarginX", I32Min, I32Max},
    {"CaptionMarginY", I32Min, I32Max},
    {"CaptionBoxColor"},
    {"CaptionFont"},
    {"CaptionStyle", 0, 15},
    {"CaptionFontSize", 0, 1000},
    {"CaptionText"},
    {"CaptionNoBox", 0, 0, As::Boolean},
    {"CaptionMultiLine", 0, 0, As::Boolean},
    {"CaptionShadow", 0, 0, As::Boolean},
    {"Duration", 0, I32Max},
    {"SizeModeOverride", -1, 5},
    {"MaskIndex", -1, I32Max},
    {"EnterSoundIndex", -1, I32Max},
    {"ImageFlags", 0, 7},
    {"ItemEffects", 0, 0, As::Effects},
    {"ItemEffectSpeed", -1, 10},
};

const Settable MaskSettings[] = {{"MaskType", 0, 2}};

std::string Lower(std::string s)
{
    for (char &c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Pictures are deflated by default; video, Flash and sound are stored.
bool IsPictureExt(const std::string &ext)
{
    static const std::set<std::string> pictures = {".bmp", ".dib", ".rle", ".jpg", ".jpeg",
                                                   ".jpe", ".jfif", ".png", ".gif", ".ico",
                                                   ".tif", ".tiff", ".fax", ".wmf", ".emf"};
    return pictures.count(Lower(ext)) > 0;
}

class Reader {
public:
    explicit Reader(const fs::path &path) : m_name(path.string()), m_dir(path.parent_path()) {}

    Manifest Read(const toml::table &root)
    {
        static const std::set<std::string_view> sections = {
            "texts",   "header", "items",  "masks",      "enterSounds", "melodies",
            "preview", "banner", "logo",   "background", "exitBanner"};
        for (auto &&[key, node] : root)
            if (!sections.count(key.str()))
                Fail(key.source(), "unknown section \"" + std::string(key.str()) + "\"");

        Manifest m;
        m.texts.DefaultEffects = AllEffectsSelection();
        ReadTexts(root, m.texts);
        if (const auto *header = Table(root, "header", "header"))
            ReadRecordFields(*header, "header", m.header, HeaderSettings, {});

        for (const auto &[table, where] : Tables(root, "masks")) {
            ManifestMask mask;
            ReadMask(*table, where, mask);
            m.masks.push_back(std::move(mask));
        }
        for (const auto &[table, where] : Tables(root, "enterSounds")) {
            ManifestEnterSound sound;
            sound.source = Entry(*table, where, false);
            sound.record.Ext = Ext(*table, where, sound.source, SoundExtMax);
            ReadRecordFields(*table, where, sound.record, {}, EntryKeys);
            m.enterSounds.push_back(std::move(sound));
        }
        for (const auto &[table, where] : Tables(root, "melodies")) {
            ManifestMelody melody;
            melody.source = Entry(*table, where, false);
            melody.record.Ext = Ext(*table, where, melody.source, RecordExtMax);
            // Only the entry fields of a melody's record mean anything.
            ReadRecordFields(*table, where, melody.record, {}, EntryKeys);
            m.melodies.push_back(std::move(melody));
        }
        for (const auto &[table, where] : Tables(root, "items"))
            m.items.push_back(ReadItem(*table, where, m.masks.size(), m.enterSounds.size()));

        m.preview = Picture(root, "preview", Packing::Stored, false);
        if (m.preview)
            CheckBmp(*Table(root, "preview", "preview"), *m.preview);
        m.banner = Picture(root, "banner", Packing::Stored, false);
        m.exitBanner = Picture(root, "exitBanner", Packing::Deflated, true);
        m.logo = Picture(root, "logo", Packing::Deflated, true);
        m.background = Picture(root, "background", Packing::Deflated, true);
        if (m.background)
            CheckDecodable(*Table(root, "background", "background"), *m.background);
        if (m.exitBanner)
            m.header.ExitBannerExt = m.exitBanner->ext;
        if (m.logo)
            m.header.LogoExt = m.logo->ext;
        if (m.background)
            m.header.BackgroundExt = m.background->ext;
        return m;
    }

private:
    enum class Packing { Stored, Deflated };
    static constexpr std::array<std::string_view, 3> EntryKeys = {"file", "compression", "Ext"};

    [[noreturn]] void Fail(const toml::source_region &where, const std::string &what) const
    {
        std::string place = m_name;
        if (where.begin.line > 0)
            place += ":" + std::to_string(where.begin.line) + ":" +
                     std::to_string(where.begin.column);
        throw ManifestError(place + ": " + what);
    }
    [[noreturn]] void Fail(const toml::node &node, const std::string &where,
                           const std::string &what) const
    {
        Fail(node.source(), where + ": " + what);
    }

    const toml::table *Table(const toml::table &parent, std::string_view key,
                             const std::string &where) const
    {
        const toml::node *node = parent.get(key);
        if (!node)
            return nullptr;
        if (!node->is_table())
            Fail(*node, where, "expects a table");
        return node->as_table();
    }

    // The tables of an array of tables ([[items]]), with their names for messages.
    std::vector<std::pair<const toml::table *, std::string>> Tables(const toml::table &root,
                                                                    std::string_view key) const
    {
        std::vector<std::pair<const toml::table *, std::string>> tables;
        const toml::node *node = root.get(key);
        if (!node)
            return tables;
        const toml::array *array = node->as_array();
        if (!array)
            Fail(*node, std::string(key), "expects an array of tables ([[" + std::string(key) + "]])");
        for (size_t i = 0; i < array->size(); ++i) {
            const std::string where = std::string(key) + "[" + std::to_string(i) + "]";
            const toml::node &element = *array->get(i);
            if (!element.is_table())
                Fail(element, where, "expects a table");
            tables.emplace_back(element.as_table(), where);
        }
        return tables;
    }

    int64_t Integer(const toml::node &node, const std::string &where, int64_t min,
                    int64_t max) const
    {
        const auto *value = node.as_integer();
        if (!value)
            Fail(node, where, "expects an integer");
        const int64_t n = value->get();
        if (n < min || n > max)
            Fail(node, where,
                 std::to_string(n) + " is outside " + std::to_string(min) + ".." + std::to_string(max));
        return n;
    }

    bool Boolean(const toml::node &node, const std::string &where) const
    {
        const auto *value = node.as_boolean();
        if (!value)
            Fail(node, where, "expects true or false");
        return value->get();
    }

    // A number as stored (0x00BBGGRR, 0xFF0000nn for a system colour), "#RRGGBB", or
    // "none".
    TColorRef Color(const toml::node &node, const std::string &where) const
    {
        if (node.is_integer())
            return TColorRef(Integer(node, where, 0, 0xFFFFFFFFll));
        const auto *value = node.as_string();
        if (!value)
            Fail(node, where, "expects a colour: \"#RRGGBB\", \"none\" or a number");
        const std::string &s = value->get();
        if (Lower(s) == "none")
            return ColorNone;
        unsigned rgb = 0;
        int used = 0;
        if (s.size() != 7 || s[0] != '#' ||
            std::sscanf(s.c_str() + 1, "%6x%n", &rgb, &used) != 1 || used != 6)
            Fail(node, where, "\"" + s + "\" is not a colour: \"#RRGGBB\", \"none\" or a number");
        const unsigned r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
        return TColorRef(r | (g << 8) | (b << 16));
    }

    std::string String(const toml::node &node, const std::string &where) const
    {
        const auto *value = node.as_string();
        if (!value)
            Fail(node, where, "expects a string");
        return value->get();
    }

    AnsiString Text(const toml::node &node, const std::string &where, size_t maxBytes) const
    {
        char32_t bad = 0;
        const auto ansi = Utf8ToAnsi(String(node, where), &bad);
        if (!ansi) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", unsigned(bad));
            Fail(node, where, std::string("the character ") + code + " has no Windows-1252 byte");
        }
        if (ansi->size() > maxBytes)
            Fail(node, where,
                 std::to_string(ansi->size()) + " bytes, at most " + std::to_string(maxBytes) +
                     " fit");
        return *ansi;
    }

    // "1-22, 115", or an array of numbers and such strings.
    std::string Effects(const toml::node &node, const std::string &where) const
    {
        EffectSet set;
        std::string error;
        auto add = [&](const toml::node &element) {
            if (element.is_integer()) {
                set.set(size_t(Integer(element, where, 1, EffectCount)));
            } else if (element.is_string()) {
                if (!ParseEffectList(element.as_string()->get(), set, error))
                    Fail(element, where, error);
            } else {
                Fail(element, where, "expects effect numbers such as \"1-22, 115\" or [1, 5, \"7-9\"]");
            }
        };
        if (const auto *array = node.as_array()) {
            for (const auto &element : *array)
                add(element);
        } else {
            add(node);
        }
        return SelectionString(set);
    }

    EntrySource Entry(const toml::table &table, const std::string &where, bool deflateByDefault,
                      std::optional<Packing> fixed = std::nullopt) const
    {
        const toml::node *file = table.get("file");
        if (!file)
            Fail(table.source(), where + ": needs a file");
        const std::string name = String(*file, where + ".file");
        const fs::path path = fs::path(name).is_absolute() ? fs::path(name) : m_dir / name;
        std::error_code ec;
        const auto status = fs::status(path, ec);
        if (!fs::exists(status))
            Fail(*file, where + ".file", "no such file: " + path.string());
        if (!fs::is_regular_file(status))
            Fail(*file, where + ".file", "not a regular file: " + path.string());
        if (!std::ifstream(path, std::ios::binary))
            Fail(*file, where + ".file", "cannot read " + path.string());
        if (fs::file_size(path, ec) > uintmax_t(std::numeric_limits<int32_t>::max()))
            Fail(*file, where + ".file", "larger than 2 GiB: " + path.string());

        bool deflate = deflateByDefault;
        if (const toml::node *compression = table.get("compression")) {
            const std::string value = String(*compression, where + ".compression");
            if (value != "deflate" && value != "store")
                Fail(*compression, where + ".compression",
                     "\"" + value + "\" is neither \"deflate\" nor \"store\"");
            deflate = value == "deflate";
            if (fixed && deflate != (*fixed == Packing::Deflated))
                Fail(*compression, where + ".compression",
                     std::string("this entry is always ") + (deflate ? "stored" : "deflated"));
        }
        return EntrySource::File(path.string(), deflate ? Storage::Deflate : Storage::Store);
    }

    // The entry's extension: its Ext key, else the file's own.
    std::string Ext(const toml::table &table, const std::string &where, const EntrySource &source,
                    size_t maxLength) const
    {
        const toml::node *node = table.get("Ext");
        const std::string ext = node ? String(*node, where + ".Ext") : fs::path(source.Path).extension().string();
        bool ok = ext.size() >= 2 && ext.size() <= maxLength && ext[0] == '.';
        for (size_t i = 1; ok && i < ext.size(); ++i)
            ok = std::isalnum(static_cast<unsigned char>(ext[i])) || ext[i] == '_';
        if (!ok) {
            const std::string rule = "an extension is a dot and 1 to " +
                                     std::to_string(maxLength - 1) + " letters or digits";
            if (node)
                Fail(*node, where + ".Ext", "\"" + ext + "\": " + rule);
            Fail(*table.get("file"), where + ".file",
                 "the file's extension \"" + ext + "\" cannot be used (" + rule + "); set Ext");
        }
        // The run-time replaces an extension its decoders and players do not know, so
        // such an entry could never be shown or played.
        if (SafeExtension(ext) != ext) {
            const toml::node &at = node ? *node : *table.get("file");
            Fail(at, where + (node ? ".Ext" : ".file"),
                 "the saver cannot show or play \"" + ext + "\" files");
        }
        return ext;
    }

    // Sets the record fields named in `table`; every other key must be one of `extra`.
    template <typename Record>
    void ReadRecordFields(const toml::table &table, const std::string &where, Record &record,
                          std::span<const Settable> settings,
                          std::span<const std::string_view> extra) const
    {
        for (auto &&[key, node] : table) {
            const std::string_view name = key.str();
            if (std::find(extra.begin(), extra.end(), name) != extra.end())
                continue;
            const auto setting = std::find_if(settings.begin(), settings.end(),
                                              [&](const Settable &s) { return s.name == name; });
            if (setting == settings.end())
                Fail(key.source(), where + ": unknown key \"" + std::string(name) + "\"");
            VisitFields(record, [&](const FieldInfo &field, auto &value) {
                if (field.Name == name)
                    Set(value, field, *setting, node, where + "." + std::string(name));
            });
        }
    }

    template <typename T>
    void Set(T &value, const FieldInfo &field, const Settable &setting, const toml::node &node,
             const std::string &where) const
    {
        if constexpr (std::is_same_v<T, bool>) {
            value = Boolean(node, where);
        } else if constexpr (std::is_same_v<T, std::string>) {
            value = setting.as == As::Effects ? Effects(node, where)
                                              : Text(node, where, size_t(field.Width - 1));
        } else if constexpr (std::is_same_v<T, TColorRef>) {
            value = Color(node, where);
        } else if (setting.as == As::Boolean) {
            value = T(Boolean(node, where) ? 1 : 0);
        } else {
            value = T(Integer(node, where, setting.min, setting.max));
        }
    }

    void ReadTexts(const toml::table &root, PackageTexts &texts) const
    {
        const toml::table *table = Table(root, "texts", "texts");
        if (!table)
            Fail(root.source(), "texts: needs a [texts] table with the Title");
        for (auto &&[key, node] : *table) {
            int index = 0;
            while (index < PackageTextCount && PackageTextNames[size_t(index)] != key.str())
                ++index;
            if (index == PackageTextCount)
                Fail(key.source(), "texts: unknown text \"" + std::string(key.str()) + "\"");
            const std::string where = "texts." + std::string(key.str());
            TextAt(texts, index) =
                key.str() == "DefaultEffects" ? Effects(node, where) : Text(node, where, TextMax);
        }
        if (texts.Title.empty())
            Fail(table->source(), "texts.Title: needs a title (it also names the settings)");
    }

    void ReadMask(const toml::table &table, const std::string &where, ManifestMask &mask) const
    {
        mask.source = Entry(table, where, true);
        const std::string ext = Lower(fs::path(mask.source.Path).extension().string());
        if (ext == ".bmp" || ext == ".png" || ext == ".gif")
            mask.record.MaskType = ext == ".bmp" ? 0 : ext == ".png" ? 1 : 2;
        else if (!table.get("MaskType"))
            Fail(*table.get("file"), where + ".file",
                 "a mask is a BMP, PNG or GIF picture; set MaskType (0 BMP, 1 PNG, 2 GIF)");
        // An explicit MaskType replaces the one of the extension.
        static constexpr std::array<std::string_view, 2> keys = {"file", "compression"};
        ReadRecordFields(table, where, mask.record, MaskSettings, keys);
    }

    ManifestItem ReadItem(const toml::table &table, const std::string &where, size_t maskCount,
                          size_t soundCount) const
    {
        ManifestItem item;
        item.source = Entry(table, where, false);
        item.record.Ext = Ext(table, where, item.source, RecordExtMax);
        if (!table.get("compression"))
            item.source.How = IsPictureExt(item.record.Ext) ? Storage::Deflate : Storage::Store;
        ReadRecordFields(table, where, item.record, ItemSettings, EntryKeys);

        auto checkIndex = [&](std::string_view key, int32_t index, size_t count, const char *what) {
            if (index >= int32_t(count))
                Fail(*table.get(key), where + "." + std::string(key),
                     std::to_string(index) + " names no " + what + " (there are " +
                         std::to_string(count) + ")");
        };
        checkIndex("MaskIndex", item.record.MaskIndex, maskCount, "mask");
        checkIndex("EnterSoundIndex", item.record.EnterSoundIndex, soundCount, "enter sound");
        if (table.get("ItemEffects") && item.record.ItemEffectSpeed == -1)
            Fail(*table.get("ItemEffects"), where + ".ItemEffects",
                 "an item uses its own effects only with its own ItemEffectSpeed; set it too");
        return item;
    }

    std::optional<ManifestPicture> Picture(const toml::table &root, std::string_view key,
                                           Packing packing, bool hasExt) const
    {
        const std::string where(key);
        const toml::table *table = Table(root, key, where);
        if (!table)
            return std::nullopt;
        ManifestPicture picture;
        picture.source = Entry(*table, where, packing == Packing::Deflated, packing);
        if (hasExt)
            picture.ext = Ext(*table, where, picture.source, RecordExtMax);
        static constexpr std::array<std::string_view, 3> withExt = {"file", "compression", "Ext"};
        const std::span<const std::string_view> keys = std::span(withExt).first(hasExt ? 3 : 2);
        for (auto &&[name, node] : *table)
            if (std::find(keys.begin(), keys.end(), name.str()) == keys.end())
                Fail(name.source(), where + ": unknown key \"" + std::string(name.str()) + "\"");
        return picture;
    }

    void CheckBmp(const toml::table &table, const ManifestPicture &picture) const
    {
        char magic[2] = {};
        std::ifstream(picture.source.Path, std::ios::binary).read(magic, 2);
        if (magic[0] != 'B' || magic[1] != 'M')
            Fail(*table.get("file"), "preview.file", "the preview must be a BMP picture");
    }

    // A background picture the saver cannot decode stops it from starting at all.
    void CheckDecodable(const toml::table &table, const ManifestPicture &picture) const
    {
        QImageReader reader(QString::fromStdString(picture.source.Path));
        if (!reader.canRead())
            Fail(*table.get("file"), "background.file",
                 "not a picture the saver can decode: " + picture.source.Path);
    }

    std::string m_name;
    fs::path m_dir;
};

} // namespace

Manifest ParseManifest(std::string_view text, const std::filesystem::path &path)
{
    toml::table root;
    try {
        root = toml::parse(text, path.string());
    } catch (const toml::parse_error &e) {
        const auto &where = e.source();
        throw ManifestError(path.string() + ":" + std::to_string(where.begin.line) + ":" +
                            std::to_string(where.begin.column) + ": " +
                            std::string(e.description()));
    }
    return Reader(path).Read(root);
}

Manifest LoadManifest(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ManifestError(path.string() + ": cannot read the manifest");
    std::ostringstream text;
    text << in.rdbuf();
    return ParseManifest(text.str(), path);
}

} // namespace pictoralia::pack

// Effect selections as an author writes them and as the package holds them.
#include "effectlist.h"

#include <charconv>

namespace pictoralia::pack {

namespace {

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool ParseNumber(std::string_view s, int &n, std::string &error)
{
    s = Trim(s);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) {
        error = "\"" + std::string(s) + "\" is not an effect number";
        return false;
    }
    if (n < 1 || n > EffectCount) {
        error = "effect " + std::string(s) + " is outside 1.." + std::to_string(EffectCount);
        return false;
    }
    return true;
}

} // namespace

bool ParseEffectList(std::string_view text, EffectSet &set, std::string &error)
{
    if (Trim(text).empty())
        return true;
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view element = text.substr(0, comma);
        const size_t dash = element.find('-');
        int first = 0;
        int last = 0;
        if (!ParseNumber(element.substr(0, dash), first, error))
            return false;
        last = first;
        if (dash != std::string_view::npos) {
            if (!ParseNumber(element.substr(dash + 1), last, error))
                return false;
            if (last < first) {
                error = "range " + std::string(Trim(element)) + " runs backwards";
                return false;
            }
        }
        for (int n = first; n <= last; ++n)
            set.set(size_t(n));
        if (comma == std::string_view::npos)
            return true;
        text.remove_prefix(comma + 1);
    }
}

std::string SelectionString(const EffectSet &set)
{
    std::string s;
    for (int n = 1; n <= EffectCount; ++n)
        if (set.test(size_t(n)))
            s += char(n);
    return s;
}

std::string AllEffectsSelection()
{
    EffectSet all;
    all.set();
    return SelectionString(all);
}

} // namespace pictoralia::pack

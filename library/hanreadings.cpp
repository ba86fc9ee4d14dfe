#include "hanreadings.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <map>

namespace {

std::u16string_view stripped(std::u16string_view s)
{
    while (!s.empty() && (s.front() == u' ' || s.front() == u'\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == u' ' || s.back() == u'\t' || s.back() == u'\r'))
        s.remove_suffix(1);
    return s;
}

icu::UnicodeString unicode(std::u16string_view s)
{
    return icu::UnicodeString(s.data(), int32_t(s.size()));
}

} // namespace

HanReadings::HanReadings()
    : m_setOf(0x10000, 0)
    , m_sets(1)
{
}

std::shared_ptr<const HanReadings> HanReadings::icu()
{
    static const std::shared_ptr<const HanReadings> made = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> hanLatin(
            icu::Transliterator::createInstance("Han-Latin", UTRANS_FORWARD, status));
        if (U_FAILURE(status) || !hanLatin)
            return std::shared_ptr<const HanReadings>(new HanReadings()); // no data: characters match as themselves
        icu::UnicodeString rules;
        hanLatin->toRules(rules, false);
        return std::make_shared<const HanReadings>(
            fromRules(std::u16string_view(rules.getBuffer(), size_t(rules.length()))));
    }();
    return made;
}

std::vector<std::string> HanReadings::toneless(std::u16string_view reading)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *nfd = icu::Normalizer2::getNFDInstance(status);
    if (U_FAILURE(status))
        return {};
    const icu::UnicodeString decomposed = nfd->normalize(unicode(reading), status);
    if (U_FAILURE(status))
        return {};
    std::string plain;
    std::size_t umlaut = std::string::npos;
    for (int32_t i = 0; i < decomposed.length(); ++i) {
        const char16_t c = decomposed.charAt(i);
        if (c >= u'a' && c <= u'z') {
            plain += char(c);
        } else if (c >= u'A' && c <= u'Z') {
            plain += char(c - u'A' + u'a');
        } else if (c == 0x0308 && !plain.empty() && plain.back() == 'u') {
            umlaut = plain.size() - 1;
        } else if (c < 0x0300 || c > 0x036F) {
            return {}; // not a reading in Latin letters
        }
    }
    if (plain.empty())
        return {};
    if (umlaut == std::string::npos)
        return {plain};
    std::string typed = plain;
    typed[umlaut] = 'v';
    return {typed, plain};
}

HanReadings HanReadings::fromRules(std::u16string_view rules)
{
    HanReadings made;
    std::map<std::vector<std::string>, std::uint16_t> ids{{{}, 0}};
    const auto idOf = [&](std::vector<std::string> readings) {
        std::sort(readings.begin(), readings.end());
        readings.erase(std::unique(readings.begin(), readings.end()), readings.end());
        const auto [at, added] = ids.try_emplace(readings, std::uint16_t(made.m_sets.size()));
        if (added)
            made.m_sets.push_back(std::move(readings));
        return at->second;
    };
    const auto give = [&](char16_t c, std::uint16_t id) {
        std::uint16_t &now = made.m_setOf[c];
        if (now == 0 || now == id) {
            now = id;
            return;
        }
        std::vector<std::string> both = made.m_sets[now];
        both.insert(both.end(), made.m_sets[id].begin(), made.m_sets[id].end());
        now = idOf(std::move(both));
    };

    while (!rules.empty()) {
        const std::size_t end = std::min(rules.find(u'\n'), rules.size());
        const std::u16string_view line = stripped(rules.substr(0, end));
        rules.remove_prefix(std::min(end + 1, rules.size()));

        const std::size_t arrow = line.find(u" > ");
        if (arrow == std::u16string_view::npos || line.back() != u';')
            continue;
        const std::u16string_view target = stripped(line.substr(arrow + 3, line.size() - arrow - 4));
        const std::vector<std::string> readings = toneless(target);
        if (readings.empty())
            continue;
        const std::u16string_view source = stripped(line.substr(0, arrow));
        const std::uint16_t id = idOf(readings);
        if (source.front() == u'[' && source.back() == u']') {
            UErrorCode status = U_ZERO_ERROR;
            const icu::UnicodeSet characters(unicode(source), status);
            if (U_FAILURE(status))
                continue;
            for (int32_t r = 0; r < characters.getRangeCount(); ++r) {
                const UChar32 last = std::min<UChar32>(characters.getRangeEnd(r), 0xFFFF);
                for (UChar32 c = characters.getRangeStart(r); c <= last; ++c)
                    give(char16_t(c), id);
            }
        } else if (source.size() >= 3 && source[0] == u'{' && source[2] == u'}') {
            // A reading in a context of its own: the character reads so too.
            give(source[1], id);
        } else if (source.size() == 1) {
            give(source[0], id);
        }
    }
    return made;
}

#pragma once

// The readings of Han characters in pinyin, as ICU's Han-Latin
// transliteration gives them, without tones and in lower case: "生" reads
// "sheng", "绿" reads "lv" and "lu" (ü is typed as v, or read as u).
//
// Each character has the one reading the transliteration gives it alone;
// where the transliteration reads a character otherwise in a context of its
// own (重 in 重庆, 藏 in 藏文), that reading is added, so the character
// matches by either. Characters beyond the Basic Multilingual Plane have no
// readings here: they match as themselves only.
//
// Readings are grouped into sets, one set per distinct combination; a
// character names its set by a small number (0: no reading), so a search
// can work out what a query does to each set once instead of to each
// character. Immutable once made, so threads may share it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class HanReadings
{
public:
    // The readings of every character the transliteration reads. Compiling
    // the transliteration takes ICU about 0.2 s, so this is made once per
    // process, on first use, and shared.
    static std::shared_ptr<const HanReadings> icu();

    // Made from rules in the form ICU's Han-Latin transliteration writes
    // them ("[生甥] > shēng;", "{重}' '?庆 > chóng;"); lines of any other
    // form are passed over.
    static HanReadings fromRules(std::u16string_view rules);

    // The set a character reads by, 0 for none.
    std::uint16_t setOf(char16_t c) const { return m_setOf[c]; }
    // The same for every character at once: 65536 entries.
    const std::uint16_t *setTable() const { return m_setOf.data(); }
    // Sets are numbered 1 .. setCount() - 1.
    std::size_t setCount() const { return m_sets.size(); }
    // The readings of a set, ASCII letters a-z only.
    const std::vector<std::string> &set(std::uint16_t id) const { return m_sets[id]; }
    const std::vector<std::string> &readings(char16_t c) const { return m_sets[m_setOf[c]]; }

    // A reading with its tone marks taken off and ü written both ways:
    // "lǜ" gives "lv" and "lu"; nothing when what is left is not a-z.
    static std::vector<std::string> toneless(std::u16string_view reading);

private:
    HanReadings();

    std::vector<std::uint16_t> m_setOf; // 65536 entries
    std::vector<std::vector<std::string>> m_sets; // [0] is the empty set
};

#pragma once

// What the user typed into the library's search box, made ready to test
// texts against, and the one way texts are folded for it.
//
// A text matches when
// - the query, folded, is a substring of the folded text; or
// - the query without its blanks and apostrophes can be cut into pieces
//   that follow one another through consecutive characters of the text,
//   each piece the character itself or a prefix of one of its readings
//   (HanReadings): "shengri", "sheng ri", "shengr", "sr", "s r" and "生r"
//   all find "生日", "xian" finds both "先" and "西安".
// Folding makes Latin letters lower case and full-width letters and digits
// half-width, in the query and the text alike.
//
// The pieces are followed by a bit-parallel automaton: bit o of the state
// says the first o units of the query have been matched so far, ending
// right before the current character. What a character does to the state
// is worked out once per reading set, so testing a text costs a table look-
// up per character and, where a match may start, one step per live bit.
// Queries longer than kMaxPinyinUnits match as substrings only.
//
// A query of ASCII only (what pinyin is typed in) needs nothing of a
// character but its reading set, or itself when it is ASCII: codesOf gives
// each character of a text that code once, when it is indexed, and the
// automaton then walks the codes through tables small enough to stay in the
// processor's first cache.

#include "hanreadings.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

// The text as the index keeps it and the query sees it.
QString FoldForSearch(QStringView text);

class TipQuery
{
public:
    static constexpr int kMaxPinyinUnits = 63;

    TipQuery(QStringView query, std::shared_ptr<const HanReadings> readings);

    // Nothing to look for: the query is empty or blanks only.
    bool isEmpty() const { return m_empty; }
    // The folded query; a query whose key extends another's finds a subset
    // of what the other finds.
    const QString &key() const { return m_key; }

    // Whether a text folded by FoldForSearch matches; `codes`, when given,
    // are its codesOf.
    bool matches(QStringView folded, const std::uint16_t *codes = nullptr) const;

    // A code per character: itself below 128, 128 + its reading set, or 0.
    static std::vector<std::uint16_t> codesOf(QStringView folded, const HanReadings &readings);

private:
    std::uint64_t charMask(char16_t c) const;
    bool matchesCharacters(QStringView folded) const;
    bool matchesCodes(const std::uint16_t *codes, std::size_t size) const;
    // The automaton over p .. end: `step(unit, live)` gives the next state.
    template<typename Unit, typename Step>
    bool run(const Unit *p, const Unit *end, const std::uint64_t *start, Step step) const;

    std::shared_ptr<const HanReadings> m_readings;
    QString m_key;
    bool m_empty = true;
    bool m_literal = false; // the key holds separators, so try it as a substring too
    std::u16string m_units; // the key without separators
    int m_m = 0; // units followed by the automaton
    std::vector<std::uint64_t> m_steps; // [set * m + offset]: the offsets a reading set leads to
    std::uint64_t m_ascii[128] = {};
    std::vector<std::pair<char16_t, std::uint64_t>> m_other; // units beyond ASCII and their offsets
    std::vector<std::uint64_t> m_start; // 65536 bits: characters a match may start at
    std::vector<std::uint64_t> m_codeStart; // the same for codes
};

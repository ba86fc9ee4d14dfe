#include "tipquery.h"

#include <QChar>

#include <algorithm>
#include <bit>

namespace {

char16_t fold(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + 0x20) : c;
    // Full-width digits and letters are their half-width selves.
    if ((c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A))
        return fold(char16_t(c - 0xFF00 + 0x20));
    if (QChar::isSurrogate(c))
        return c;
    const char32_t lower = QChar::toLower(char32_t(c));
    return lower <= 0xFFFF ? char16_t(lower) : c;
}

bool isSeparator(char16_t c)
{
    return c == u' ' || c == u'\t' || c == 0x3000 || c == u'\'';
}

// The offsets o + 1 .. o + length.
std::uint64_t span(int o, int length)
{
    return length == 0 ? 0 : ((~std::uint64_t(0) >> (64 - length)) << (o + 1));
}

// The first of p .. end that may start a match by the bit table, or end.
template<typename Unit>
const Unit *skipToStart(const Unit *p, const Unit *end, const std::uint64_t *table)
{
    while (p != end && !((table[*p >> 6] >> (*p & 63)) & 1))
        ++p;
    return p;
}

// The offsets a reading set leads to from each live offset.
std::uint64_t stepsFrom(const std::uint64_t *steps, std::uint64_t live)
{
    std::uint64_t next = 0;
    for (; live; live &= live - 1)
        next |= steps[std::countr_zero(live)];
    return next;
}

} // namespace

QString FoldForSearch(QStringView text)
{
    QString folded(text.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(folded.data());
    for (const QChar c : text)
        *out++ = fold(c.unicode());
    return folded;
}

TipQuery::TipQuery(QStringView query, std::shared_ptr<const HanReadings> readings)
    : m_readings(std::move(readings))
    , m_key(FoldForSearch(query))
{
    for (const QChar c : std::as_const(m_key)) {
        if (isSeparator(c.unicode()))
            m_literal = true;
        else
            m_units += c.unicode();
    }
    m_empty = m_key.trimmed().isEmpty();
    if (m_empty || m_units.empty())
        return;
    if (m_units.size() > std::size_t(kMaxPinyinUnits)) {
        m_literal = true;
        return;
    }
    m_m = int(m_units.size());
    const int m = m_m;

    for (int o = 0; o < m; ++o) {
        const char16_t u = m_units[std::size_t(o)];
        if (u < 128 && u != 0) { // NUL is the code of "anything else"
            m_ascii[u] |= std::uint64_t(1) << o;
            continue;
        }
        auto at = std::find_if(m_other.begin(), m_other.end(), [u](const auto &e) { return e.first == u; });
        if (at == m_other.end())
            m_other.emplace_back(u, std::uint64_t(1) << o);
        else
            at->second |= std::uint64_t(1) << o;
    }

    const std::size_t sets = m_readings->setCount();
    m_steps.assign(sets * std::size_t(m), 0);
    for (std::size_t s = 1; s < sets; ++s) {
        for (const std::string &reading : m_readings->set(std::uint16_t(s))) {
            for (int o = 0; o < m; ++o) {
                int length = 0;
                while (length < int(reading.size()) && o + length < m
                       && m_units[std::size_t(o + length)] == char16_t(reading[std::size_t(length)]))
                    ++length;
                m_steps[s * std::size_t(m) + std::size_t(o)] |= span(o, length);
            }
        }
    }

    m_start.assign(0x10000 / 64, 0);
    for (std::uint32_t c = 0; c < 0x10000; ++c) {
        const std::uint16_t s = m_readings->setOf(char16_t(c));
        if ((s && m_steps[s * std::size_t(m)]) || c == m_units[0])
            m_start[c >> 6] |= std::uint64_t(1) << (c & 63);
    }
    m_codeStart.assign((128 + sets + 63) / 64, 0);
    for (std::size_t code = 0; code < 128 + sets; ++code) {
        if (code < 128 ? (m_ascii[code] & 1) : (code > 128 && m_steps[(code - 128) * std::size_t(m)]))
            m_codeStart[code >> 6] |= std::uint64_t(1) << (code & 63);
    }
}

std::vector<std::uint16_t> TipQuery::codesOf(QStringView folded, const HanReadings &readings)
{
    std::vector<std::uint16_t> codes;
    codes.reserve(std::size_t(folded.size()));
    const std::uint16_t *const sets = readings.setTable();
    for (const QChar c : folded) {
        const char16_t u = c.unicode();
        codes.push_back(u < 128 ? u : sets[u] ? std::uint16_t(128 + sets[u]) : 0);
    }
    return codes;
}

std::uint64_t TipQuery::charMask(char16_t c) const
{
    if (c < 128 && c != 0)
        return m_ascii[c];
    for (const auto &[unit, mask] : m_other) {
        if (unit == c)
            return mask;
    }
    return 0;
}

bool TipQuery::matches(QStringView folded, const std::uint16_t *codes) const
{
    if (m_empty)
        return false;
    if (m_literal && folded.contains(m_key))
        return true;
    if (m_m == 0)
        return false;
    if (codes && m_other.empty())
        return matchesCodes(codes, std::size_t(folded.size()));
    return matchesCharacters(folded);
}

bool TipQuery::matchesCodes(const std::uint16_t *p, std::size_t size) const
{
    const std::size_t m = std::size_t(m_m);
    const std::uint64_t *const allSteps = m_steps.data();
    return run(p, p + size, m_codeStart.data(), [&](std::uint16_t code, std::uint64_t live) {
        if (code < 128)
            return (live & m_ascii[code]) << 1;
        return stepsFrom(allSteps + (code - 128u) * m, live);
    });
}

bool TipQuery::matchesCharacters(QStringView folded) const
{
    // Characters of the query beyond ASCII match only themselves: the text
    // must hold each, and no match starts more characters before the first
    // of one than the units before it in the query.
    qsizetype from = 0;
    for (const auto &[unit, offsets] : m_other) {
        const qsizetype at = folded.indexOf(QChar(unit));
        if (at < 0)
            return false;
        from = std::max(from, at - std::countr_zero(offsets));
    }
    const std::size_t m = std::size_t(m_m);
    const std::uint16_t *const sets = m_readings->setTable();
    const std::uint64_t *const allSteps = m_steps.data();
    return run(folded.utf16() + from, folded.utf16() + folded.size(), m_start.data(),
               [&](char16_t c, std::uint64_t live) {
                   const std::uint64_t next = (live & charMask(c)) << 1;
                   const std::uint16_t s = sets[c];
                   return s ? next | stepsFrom(allSteps + s * m, live) : next;
               });
}

template<typename Unit, typename Step>
bool TipQuery::run(const Unit *p, const Unit *end, const std::uint64_t *start, Step step) const
{
    const std::uint64_t done = std::uint64_t(1) << m_m;
    std::uint64_t state = 0;
    while (p != end) {
        // Most characters start nothing: pass them by the bit table alone.
        if (state == 0 && (p = skipToStart(p, end, start)) == end)
            return false;
        const std::uint64_t next = step(*p++, state | 1);
        if (next & done)
            return true;
        state = next;
    }
    return false;
}

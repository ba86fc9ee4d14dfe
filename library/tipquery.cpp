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
        if (u < 128) {
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
}

std::uint64_t TipQuery::charMask(char16_t c) const
{
    if (c < 128)
        return m_ascii[c];
    for (const auto &[unit, mask] : m_other) {
        if (unit == c)
            return mask;
    }
    return 0;
}

bool TipQuery::matches(QStringView folded) const
{
    if (m_empty)
        return false;
    if (m_literal && folded.contains(m_key))
        return true;
    if (m_m == 0)
        return false;

    const char16_t *p = folded.utf16();
    const char16_t *const end = p + folded.size();
    const std::uint64_t done = std::uint64_t(1) << m_m;
    const std::size_t m = std::size_t(m_m);
    std::uint64_t state = 0;
    while (p != end) {
        if (state == 0) {
            while (!startsAt(*p)) {
                if (++p == end)
                    return false;
            }
        }
        const char16_t c = *p++;
        const std::uint64_t live = state | 1;
        std::uint64_t next = (live & charMask(c)) << 1;
        if (const std::uint16_t s = m_readings->setOf(c)) {
            const std::uint64_t *steps = m_steps.data() + s * m;
            for (std::uint64_t bits = live; bits; bits &= bits - 1)
                next |= steps[std::countr_zero(bits)];
        }
        if (next & done)
            return true;
        state = next;
    }
    return false;
}

#include "store/TextOrder.h"

#include <QChar>
#include <QString>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

// A character as it counts for the order: one or two characters ("ß" is "ss").
struct Folded
{
    char32_t first = 0;
    char32_t second = 0;
};

constexpr char32_t LatinFirst = 0x80;
constexpr char32_t LatinEnd = 0x250; // Latin-1 Supplement and Latin Extended-A and -B

Folded foldLatin(char32_t c)
{
    switch (c) {
    case 0xDF: // ß
        return {U's', U's'};
    case 0xC6: // Æ
    case 0xE6:
        return {U'a', U'e'};
    case 0x152: // Œ
    case 0x153:
        return {U'o', U'e'};
    case 0xD8: // Ø: a letter of its own to Unicode, an o to a German reader
    case 0xF8:
        return {U'o', 0};
    case 0x110: // Đ
    case 0x111:
        return {U'd', 0};
    case 0x141: // Ł
    case 0x142:
        return {U'l', 0};
    default:
        break;
    }
    char32_t base = c;
    if (QChar::decompositionTag(c) == QChar::Canonical)
        base = QChar::decomposition(c).at(0).unicode();
    return {QChar::toCaseFolded(base), 0};
}

// Decomposing a character costs an allocation; the letters of European names
// are looked up in a table made once instead.
const std::array<Folded, LatinEnd - LatinFirst> &latinTable()
{
    static const std::array<Folded, LatinEnd - LatinFirst> table = [] {
        std::array<Folded, LatinEnd - LatinFirst> t{};
        for (char32_t c = LatinFirst; c < LatinEnd; ++c)
            t[c - LatinFirst] = foldLatin(c);
        return t;
    }();
    return table;
}

Folded fold(char32_t c)
{
    if (c < LatinFirst)
        return {c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c, 0};
    if (c < LatinEnd)
        return latinTable()[c - LatinFirst];
    if (c == 0x1E9E) // capital ß
        return {U's', U's'};
    return {QChar::toCaseFolded(c), 0};
}

// Reads a UTF-8 text as folded characters. A byte that starts no valid
// sequence stands for itself, so that any stored text can be ordered.
class FoldedReader
{
public:
    explicit FoldedReader(QByteArrayView text)
        : m_at(reinterpret_cast<const unsigned char *>(text.data()))
        , m_end(m_at + text.size())
    {
    }

    bool atEnd() const { return m_pending == 0 && m_at == m_end; }

    char32_t next()
    {
        if (m_pending != 0) {
            const char32_t c = m_pending;
            m_pending = 0;
            return c;
        }
        // Most letters of names are ASCII; they are folded here, on the spot.
        const unsigned char byte = *m_at;
        if (byte < 0x80) {
            ++m_at;
            return byte >= 'A' && byte <= 'Z' ? char32_t(byte + ('a' - 'A')) : char32_t(byte);
        }
        const Folded f = fold(decode());
        m_pending = f.second;
        return f.first;
    }

private:
    char32_t decode()
    {
        const unsigned char lead = *m_at++;
        if (lead < 0x80)
            return lead;
        const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        if (extra == 0 || m_end - m_at < extra)
            return lead;
        char32_t c = lead & (0x3F >> extra);
        for (int i = 0; i < extra; ++i) {
            if ((m_at[i] & 0xC0) != 0x80)
                return lead;
            c = (c << 6) | (m_at[i] & 0x3F);
        }
        m_at += extra;
        return c;
    }

    const unsigned char *m_at;
    const unsigned char *m_end;
    char32_t m_pending = 0;
};

int exactly(QByteArrayView a, QByteArrayView b)
{
    // UTF-8 bytes compare in the order of their character codes.
    const qsizetype shorter = std::min(a.size(), b.size());
    const int common = shorter > 0 ? std::memcmp(a.data(), b.data(), size_t(shorter)) : 0;
    if (common != 0)
        return common;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Where two texts first differ, moved back to the start of that character.
// Up to there they fold alike, so the folded comparison can start there.
qsizetype commonStart(QByteArrayView a, QByteArrayView b)
{
    const qsizetype shorter = std::min(a.size(), b.size());
    qsizetype at = 0;
    while (at < shorter && a[at] == b[at])
        ++at;
    auto continues = [](QByteArrayView text, qsizetype i) {
        return i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    };
    while (at > 0 && (continues(a, at) || continues(b, at)))
        --at;
    return at;
}

} // namespace

int compareAlphabetically(QByteArrayView a, QByteArrayView b)
{
    const qsizetype start = commonStart(a, b);
    FoldedReader left(a.sliced(start));
    FoldedReader right(b.sliced(start));
    while (!left.atEnd() && !right.atEnd()) {
        const char32_t x = left.next();
        const char32_t y = right.next();
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (!left.atEnd())
        return 1;
    if (!right.atEnd())
        return -1;
    return exactly(a, b);
}

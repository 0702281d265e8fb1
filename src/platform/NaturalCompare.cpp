#include "platform/NaturalCompare.h"

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

char16_t AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

struct TextShape {
    bool ascii = true;
    qsizetype digitRuns = 0;
};

TextShape ShapeOf(QStringView text) {
    TextShape shape;
    bool inRun = false;
    for (const QChar c : text) {
        shape.ascii = shape.ascii && c.unicode() < 0x80;
        const bool digit = IsDigit(c.unicode());
        shape.digitRuns += digit && !inRun ? 1 : 0;
        inRun = digit;
    }
    return shape;
}

// A digit run becomes "0", its number of digits without leading zeros as one character, then
// those digits: the longer number sorts after the shorter, equal lengths sort by digits, and
// against any other character the run sorts as a digit would.
char16_t* WriteDigitRun(char16_t* out, const char16_t*& at, const char16_t* end) {
    while (at != end && *at == u'0')
        ++at;
    const char16_t* start = at;
    while (at != end && IsDigit(*at))
        ++at;
    *out++ = u'0';
    *out++ = static_cast<char16_t>(at - start);
    while (start != at)
        *out++ = *start++;
    return out;
}

} // namespace

int NaturalCompare(const QString& a, const QString& b) {
    return NaturalCompareFolded(NaturalSortKey(a), NaturalSortKey(b));
}

QString NaturalSortKey(const QString& text) {
    // Written out on raw characters: a large folder makes a key per entry. ASCII letters are
    // folded here; other text goes through Qt's case folding first.
    const TextShape shape = ShapeOf(text);
    const QString folded = shape.ascii ? text : text.toCaseFolded();
    QString key(folded.size() + 2 * shape.digitRuns, Qt::Uninitialized);
    const char16_t* at = QStringView(folded).utf16();
    const char16_t* const end = at + folded.size();
    char16_t* const begin = reinterpret_cast<char16_t*>(key.data());
    char16_t* out = begin;
    while (at != end) {
        if (IsDigit(*at))
            out = WriteDigitRun(out, at, end);
        else
            *out++ = AsciiLower(*at++);
    }
    key.truncate(out - begin);
    return key;
}

int NaturalCompareFolded(const QString& foldedA, const QString& foldedB) {
    return QStringView(foldedA).compare(QStringView(foldedB));
}

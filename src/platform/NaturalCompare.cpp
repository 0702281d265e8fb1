#include "platform/NaturalCompare.h"

#include <QVarLengthArray>
#include <algorithm>

namespace {

// A key is the text's natural reading, then kEnd, then the folded text itself, which breaks
// ties (leading zeros, digit script). In the natural reading a number is kNumber, the count of
// its digits without leading zeros and their values; every other code unit stands for itself,
// U+0000 as kNul. Comparing two keys code unit by code unit then orders their texts: the first
// difference always falls on the same kind of unit in both, and sorting compares keys with
// Qt's vectorised ordinal comparison instead of reading numbers at every comparison.
constexpr char16_t kEnd[] = {0, 0};
constexpr char16_t kNul[] = {0, 1};
constexpr char16_t kNumber = u'0'; // where '0' sorts among the other characters
// A digit count of this or more takes two more units: a count never runs into the digits.
constexpr char16_t kLongCount = 0xFFFF;
// The most units a key takes per unit of its text (a lone digit: kNumber, count, value), plus
// the unit folded, plus kEnd.
constexpr qsizetype kKeyUnitsPerUnit = 4;
constexpr qsizetype kKeyExtraUnits = 2;

bool IsDigit(char16_t c) {
    if (c < 0x80)
        return static_cast<char16_t>(c - u'0') < 10;
    return QChar::isDigit(c);
}

int DigitValue(char16_t c) {
    return c < 0x80 ? c - u'0' : QChar::digitValue(c);
}

bool IsZero(char16_t c) {
    if (c < 0x80)
        return c == u'0';
    return QChar::isDigit(c) && QChar::digitValue(c) == 0;
}

bool IsAscii(QChar c) {
    return c.unicode() < 0x80;
}

// ASCII folds by lowering A to Z, much faster than the general case folding; file names of a
// large folder mostly are ASCII.
char16_t LoweredAscii(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit;
}

char16_t* WriteNumber(const char16_t* digits, qsizetype count, char16_t* out) {
    *out++ = kNumber;
    if (count < kLongCount) {
        *out++ = static_cast<char16_t>(count);
    } else {
        *out++ = kLongCount;
        *out++ = static_cast<char16_t>(count >> 16);
        *out++ = static_cast<char16_t>(count & 0xFFFF);
    }
    return std::transform(digits, digits + count, out,
                          [](char16_t c) { return static_cast<char16_t>(DigitValue(c)); });
}

// The natural reading of folded, then kEnd and folded; returns the end of what it wrote.
char16_t* WriteKey(const char16_t* folded, qsizetype length, char16_t* out) {
    const char16_t* const end = folded + length;
    for (const char16_t* c = folded; c != end;) {
        if (*c == 0) {
            out = std::copy(std::begin(kNul), std::end(kNul), out);
            ++c;
            continue;
        }
        if (!IsDigit(*c)) {
            *out++ = *c++;
            continue;
        }
        while (c != end && IsZero(*c))
            ++c;
        const char16_t* const digits = c;
        while (c != end && IsDigit(*c))
            ++c;
        out = WriteNumber(digits, c - digits, out);
    }
    out = std::copy(std::begin(kEnd), std::end(kEnd), out);
    return std::copy(folded, end, out);
}

void AppendKey(QString& keys, QStringView folded) {
    const qsizetype start = keys.size();
    keys.resize(start + kKeyUnitsPerUnit * folded.size() + kKeyExtraUnits);
    char16_t* const out = reinterpret_cast<char16_t*>(keys.data()) + start;
    keys.resize(WriteKey(folded.utf16(), folded.size(), out) -
                reinterpret_cast<const char16_t*>(keys.constData()));
}

} // namespace

QString NaturalSortKey(const QString& text) {
    QString key;
    AppendNaturalSortKey(key, text);
    key.squeeze(); // it was written into room for its longest form
    return key;
}

void AppendNaturalSortKey(QString& keys, QStringView text) {
    if (!std::all_of(text.cbegin(), text.cend(), IsAscii)) {
        AppendKey(keys, text.toString().toCaseFolded());
        return;
    }
    // On the stack for any file name (at most 255 bytes).
    QVarLengthArray<char16_t, 256> lowered(text.size());
    std::transform(text.utf16(), text.utf16() + text.size(), lowered.begin(), LoweredAscii);
    AppendKey(keys, QStringView(lowered.data(), lowered.size()));
}

int NaturalCompareKeys(QStringView keyA, QStringView keyB) {
    const int order = keyA.compare(keyB, Qt::CaseSensitive);
    return (order > 0) - (order < 0);
}

int NaturalCompare(const QString& a, const QString& b) {
    return NaturalCompareKeys(NaturalSortKey(a), NaturalSortKey(b));
}

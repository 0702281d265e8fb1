#include "platform/NaturalCompare.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

bool IsDigit(char16_t c) {
    if (c < 0x80)
        return static_cast<char16_t>(c - u'0') < 10;
    return QChar::isDigit(c);
}

int DigitValue(char16_t c) {
    return c < 0x80 ? c - u'0' : QChar::digitValue(c);
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

bool IsZero(char16_t c) {
    if (c < 0x80)
        return c == u'0';
    return QChar::isDigit(c) && QChar::digitValue(c) == 0;
}

// Compares the digit runs starting at a[i] and b[j] by value and, when they are equal, moves
// both past their runs. One pass, digit by digit, so runs of any length never overflow.
int CompareDigitRuns(QStringView a, qsizetype& i, QStringView b, qsizetype& j) {
    while (i < a.size() && IsZero(a[i].unicode()))
        ++i;
    while (j < b.size() && IsZero(b[j].unicode()))
        ++j;
    int firstDifference = 0;
    for (;; ++i, ++j) {
        const bool digitA = i < a.size() && IsDigit(a[i].unicode());
        const bool digitB = j < b.size() && IsDigit(b[j].unicode());
        if (!digitA || !digitB)
            return digitA ? 1 : (digitB ? -1 : firstDifference); // the longer number is larger
        if (firstDifference == 0)
            firstDifference = Sign(DigitValue(a[i].unicode()) - DigitValue(b[j].unicode()));
    }
}

// Where the texts start to differ, moved back to the start of a digit run that the difference
// falls in. Everything before compares equal however it is read, so the comparison can start
// there: sorting compares texts that mostly share long beginnings.
qsizetype ComparisonStart(QStringView a, QStringView b) {
    const qsizetype common = std::min(a.size(), b.size());
    qsizetype k = 0;
    // Four code units at a time up to the block that differs: the shared beginnings are most of
    // a large folder's sorting time.
    constexpr qsizetype kBlock = sizeof(uint64_t) / sizeof(char16_t);
    for (; k + kBlock <= common; k += kBlock) {
        uint64_t blockA;
        uint64_t blockB;
        std::memcpy(&blockA, a.utf16() + k, sizeof blockA);
        std::memcpy(&blockB, b.utf16() + k, sizeof blockB);
        if (blockA != blockB)
            break;
    }
    while (k < common && a[k] == b[k])
        ++k;
    while (k > 0 && IsDigit(a[k - 1].unicode()))
        --k;
    return k;
}

int CompareNaturally(QStringView a, QStringView b) {
    qsizetype i = ComparisonStart(a, b);
    qsizetype j = i;
    while (i < a.size() && j < b.size()) {
        const char16_t ca = a[i].unicode();
        const char16_t cb = b[j].unicode();
        const bool digitA = IsDigit(ca);
        if (ca == cb && !digitA) {
            ++i;
            ++j;
            continue;
        }
        const bool digitB = IsDigit(cb);
        if (digitA && digitB) {
            if (const int result = CompareDigitRuns(a, i, b, j))
                return result;
            continue;
        }
        // Every number sorts where '0' does among the other characters; that keeps the order
        // consistent for digits of any script.
        const char16_t keyA = digitA ? u'0' : ca;
        const char16_t keyB = digitB ? u'0' : cb;
        return keyA < keyB ? -1 : 1;
    }
    return Sign(int(i < a.size()) - int(j < b.size()));
}

bool IsAscii(QChar c) {
    return c.unicode() < 0x80;
}

// ASCII folds by lowering A to Z, much faster than the general case folding; file names of a
// large folder mostly are ASCII.
void AppendLoweredAscii(QString& keys, QStringView text) {
    const qsizetype start = keys.size();
    keys.resize(start + text.size());
    std::transform(text.cbegin(), text.cend(), keys.begin() + start, [](QChar c) {
        const char16_t unit = c.unicode();
        return QChar(unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit);
    });
}

} // namespace

QString NaturalSortKey(const QString& text) {
    const auto upper = std::find_if(text.cbegin(), text.cend(), [](QChar c) {
        return !IsAscii(c) || (c.unicode() >= u'A' && c.unicode() <= u'Z');
    });
    if (upper == text.cend())
        return text;
    if (!std::all_of(upper, text.cend(), IsAscii))
        return text.toCaseFolded();
    QString key;
    AppendLoweredAscii(key, text);
    return key;
}

void AppendNaturalSortKey(QString& keys, QStringView text) {
    if (std::all_of(text.cbegin(), text.cend(), IsAscii))
        AppendLoweredAscii(keys, text);
    else
        keys.append(text.toString().toCaseFolded());
}

int NaturalCompareFolded(QStringView foldedA, QStringView foldedB) {
    if (const int result = CompareNaturally(foldedA, foldedB))
        return result;
    return Sign(foldedA.compare(foldedB, Qt::CaseSensitive));
}

int NaturalCompare(const QString& a, const QString& b) {
    return NaturalCompareFolded(NaturalSortKey(a), NaturalSortKey(b));
}

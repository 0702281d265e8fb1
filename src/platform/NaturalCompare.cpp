#include "platform/NaturalCompare.h"

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Compares the digit runs starting at a[i] and b[j] by value and moves both indexes past them.
int CompareDigitRuns(QStringView a, qsizetype& i, QStringView b, qsizetype& j) {
    while (i < a.size() && a[i] == u'0')
        ++i;
    while (j < b.size() && b[j] == u'0')
        ++j;
    const qsizetype startA = i;
    const qsizetype startB = j;
    while (i < a.size() && IsDigit(a[i].unicode()))
        ++i;
    while (j < b.size() && IsDigit(b[j].unicode()))
        ++j;
    // Without leading zeros, the longer run is the larger number.
    if (i - startA != j - startB)
        return i - startA < j - startB ? -1 : 1;
    return QStringView(a.data() + startA, i - startA)
        .compare(QStringView(b.data() + startB, j - startB));
}

} // namespace

int NaturalCompare(const QString& a, const QString& b) {
    return NaturalCompareFolded(NaturalSortKey(a), NaturalSortKey(b));
}

QString NaturalSortKey(const QString& text) {
    return text.toCaseFolded();
}

int NaturalCompareFolded(const QString& foldedA, const QString& foldedB) {
    const QStringView a(foldedA);
    const QStringView b(foldedB);
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const char16_t ca = a[i].unicode();
        const char16_t cb = b[j].unicode();
        if (IsDigit(ca) && IsDigit(cb)) {
            if (const int order = CompareDigitRuns(a, i, b, j))
                return order;
            continue;
        }
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

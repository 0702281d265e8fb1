// Compares three texts taken from the input (separated by line feeds) and checks that the natural
// order is an order: sorting with it must never meet a contradiction.

#include "FuzzCheck.h"
#include "platform/NaturalCompare.h"

#include <QList>
#include <algorithm>

namespace {

void CheckPair(const QString& a, const QString& b) {
    const int result = NaturalCompare(a, b);
    FuzzCheck(result >= -1 && result <= 1, "results are -1, 0 or 1");
    FuzzCheck(NaturalCompare(b, a) == -result, "antisymmetric");
    FuzzCheck((result == 0) == (a.toCaseFolded() == b.toCaseFolded()),
              "equal only when equal ignoring case");
    FuzzCheck(NaturalCompareKeys(NaturalSortKey(a), NaturalSortKey(b)) == result,
              "the sort keys give the same order");
}

void CheckTransitive(const QString& a, const QString& b, const QString& c) {
    const int ab = NaturalCompare(a, b);
    const int bc = NaturalCompare(b, c);
    if (ab <= 0 && bc <= 0)
        FuzzCheck(NaturalCompare(a, c) == std::min(ab, bc), "transitive");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)).split('\n');
    QString t[3];
    for (qsizetype i = 0; i < 3 && i < parts.size(); ++i)
        t[i] = QString::fromUtf8(parts[i]);
    FuzzCheck(NaturalCompare(t[0], t[0]) == 0, "reflexive");
    CheckPair(t[0], t[1]);
    CheckPair(t[1], t[2]);
    CheckPair(t[0], t[2]);
    // Every order of the three, so each chain a <= b <= c is tried.
    CheckTransitive(t[0], t[1], t[2]);
    CheckTransitive(t[0], t[2], t[1]);
    CheckTransitive(t[1], t[0], t[2]);
    CheckTransitive(t[1], t[2], t[0]);
    CheckTransitive(t[2], t[0], t[1]);
    CheckTransitive(t[2], t[1], t[0]);
    return 0;
}

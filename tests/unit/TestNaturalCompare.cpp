#include "platform/NaturalCompare.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

struct OrderCase {
    const char* a;
    const char* b;
    int expected;
};

const OrderCase OrderCases[] = {
    {"clip2", "clip10", -1},
    {"clip10", "clip9", 1},
    {"clip10", "clip10", 0},
    {"a.avi", "A.AVI", 0},
    {"Clip2", "clip10", -1},
    {"b", "A", 1},
    {"ÄRGER.mp4", "ärger.mp4", 0},
    {"", "", 0},
    {"", "a", -1},
    {"file", "file1", -1},
    {"file1", "file1a", -1},
    {"1", "a", -1},
    // Leading zeros: the value decides, the zeros only break a tie.
    {"clip02", "clip3", -1},
    {"clip010", "clip9", 1},
    {"clip007", "clip7", -1},
    {"clip7", "clip007", 1},
    // Digit runs far beyond 64 bits compare by value.
    {"x18446744073709551616", "x18446744073709551615", 1},
    {"x000000000000000000000000000000000000001", "x2", -1},
    {"x99999999999999999999999999999999999999", "x100000000000000000000000000000000000000", -1},
    // A number sorts where '0' does among other characters.
    {"a-1", "a1", -1},
    {"a 1", "a1", -1},
    {"a_1", "a1", 1},
    {"a:1", "a1", 1},
    // Japanese names, full-width digits included.
    {"第2話.mp4", "第10話.mp4", -1},
    {"第２話.mp4", "第１０話.mp4", -1},
    {"第２話.mp4", "第10話.mp4", -1},
    {"第２話.mp4", "第2話.mp4", 1},
    {"あ", "い", -1},
    {"ア", "あ", 1},
    {"映画", "映画2", -1},
    // A shared beginning that ends inside a digit run: the whole run still counts.
    {"clip12", "clip123", -1},
    {"clip12b", "clip123", -1},
    {"clip19", "clip123", -1},
    {"x0007", "x007", -1},
    {"x0010", "x009", 1},
    {"v2.10", "v2.9", 1},
    {"a10b2", "a10b10", -1},
    {"第１２話", "第１０話", 1},
    {"第１２話", "第１２３話", -1},
    // Upper-case ASCII beside other text folds like the rest.
    {"ABC第2話", "abc第2話", 0},
    {"Ab", "aB", 0},
    {"Z", "a", 1},
};

TEST(NaturalCompare, OrdersTheTable) {
    for (const OrderCase& c : OrderCases) {
        const QString a = QString::fromUtf8(c.a);
        const QString b = QString::fromUtf8(c.b);
        EXPECT_EQ(NaturalCompare(a, b), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(NaturalCompare(b, a), -c.expected) << c.b << " vs " << c.a;
        EXPECT_EQ(NaturalCompareKeys(NaturalSortKey(a), NaturalSortKey(b)), c.expected);
        QString keys = QStringLiteral("Key ");
        AppendNaturalSortKey(keys, a);
        EXPECT_EQ(QStringView(keys).sliced(4), NaturalSortKey(a)) << c.a;
    }
}

// Sorting relies on a strict order: antisymmetric, transitive, and 0 only for texts that are
// equal ignoring case.
TEST(NaturalCompare, IsATotalOrderOverTrickyNames) {
    QStringList names;
    for (const OrderCase& c : OrderCases)
        names << QString::fromUtf8(c.a) << QString::fromUtf8(c.b);
    names << "0"
          << "00"
          << "000"
          << "1"
          << "01"
          << "a0b"
          << "a00b"
          << "a0"
          << "a"
          << "A0" << QString::fromUtf8("１") << QString::fromUtf8("０１") << "/"
          << ":"
          << "0/"
          << "0:";
    for (const QString& a : names) {
        for (const QString& b : names) {
            const int ab = NaturalCompare(a, b);
            ASSERT_EQ(ab, -NaturalCompare(b, a)) << a.toStdString() << " " << b.toStdString();
            ASSERT_EQ(ab == 0, a.toCaseFolded() == b.toCaseFolded());
            for (const QString& c : names) {
                if (ab < 0 && NaturalCompare(b, c) < 0) {
                    ASSERT_LT(NaturalCompare(a, c), 0)
                        << a.toStdString() << " " << b.toStdString() << " " << c.toStdString();
                }
            }
        }
    }
}

// Texts no file name has, still ordered like the others: U+0000 below every other character,
// numbers of 65,535 digits and more by their length first.
TEST(NaturalCompare, OrdersNulAndVeryLongNumbers) {
    const QString nul(QChar(0));
    const QString nines(65535, u'9');
    const struct {
        QString a;
        QString b;
    } ascending[] = {{"a", "a" + nul},
                     {"a" + nul + "b", "a b"},
                     {"a" + nul, "a0"},
                     {nines, "1" + nines},
                     {"8" + nines, "9" + nines},
                     {"9", nines},
                     {QString(70000, u'1'), QString(70000, u'2')}};
    for (const auto& c : ascending) {
        EXPECT_EQ(NaturalCompare(c.a, c.b), -1) << c.a.size() << " vs " << c.b.size();
        EXPECT_EQ(NaturalCompare(c.b, c.a), 1);
    }
}

TEST(NaturalCompare, SortsFileNamesWithPrecomputedKeys) {
    QStringList names = {"clip10.avi", "Clip1.avi",  "clip2.avi",
                         "clip02.avi", "clip1a.avi", "clip.avi"};
    std::vector<std::pair<QString, QString>> keyed;
    for (const QString& name : names)
        keyed.emplace_back(NaturalSortKey(name), name);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) {
        return NaturalCompareKeys(x.first, y.first) < 0;
    });
    QStringList sorted;
    for (const auto& entry : keyed)
        sorted << entry.second;
    EXPECT_EQ(sorted, QStringList({"clip.avi", "Clip1.avi", "clip1a.avi", "clip02.avi", "clip2.avi",
                                   "clip10.avi"}));
}

} // namespace

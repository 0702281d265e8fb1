// Sorting 100,000 file names in natural order with precomputed keys (NaturalSortKey once per
// name, NaturalCompareKeys per comparison), beside the floor: an ordinal sort of the same
// keys (the same moves and memory traffic with the cheapest comparison), and QCollator in
// numeric mode for comparison. Medians of several runs after a warm-up.
#include "platform/NaturalCompare.h"
#include "support/BenchFigures.h"

#include <QCollator>
#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <random>
#include <vector>

namespace {

using Keyed = std::vector<std::pair<QString, QString>>; // (sort key, name)

QStringList MakeNames(int count) {
    std::mt19937 generator(42);
    const QStringList stems = {"Clip", "episode ", "第", "holiday_", "IMG_"};
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const QString& stem = stems[static_cast<int>(generator() % stems.size())];
        names << QStringLiteral("%1%2 part%3.avi").arg(stem).arg(generator() % 100000).arg(i % 7);
    }
    return names;
}

template <typename Work> double Milliseconds(Work work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

template <typename Less> double SortKeyed(const Keyed& input, Less less) {
    Keyed keyed = input;
    return Milliseconds([&] { std::stable_sort(keyed.begin(), keyed.end(), less); });
}

} // namespace

int main() {
    const QStringList names = MakeNames(100000);
    Keyed keyed;
    keyed.reserve(static_cast<size_t>(names.size()));
    const double keying = Milliseconds([&] {
        for (const QString& name : names)
            keyed.emplace_back(NaturalSortKey(name), name);
    });
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<double> ordinal;
    std::vector<double> natural;
    std::vector<double> collated;
    const int runs = BenchFigures::Runs(5);
    for (int run = -1; run < runs; ++run) {
        const double o =
            SortKeyed(keyed, [](const auto& a, const auto& b) { return a.first < b.first; });
        const double n = SortKeyed(keyed, [](const auto& a, const auto& b) {
            return NaturalCompareKeys(a.first, b.first) < 0;
        });
        const double c = SortKeyed(keyed, [&](const auto& a, const auto& b) {
            return collator.compare(a.second, b.second) < 0;
        });
        if (run >= 0) {
            ordinal.push_back(o);
            natural.push_back(n);
            collated.push_back(c);
        }
    }
    const double floor = BenchFigures::Median(ordinal);
    const std::string floorName = "ordinal sort of the same keys";
    BenchFigures::Print({"natural sort of 100,000 names, precomputed keys",
                         BenchFigures::Median(natural), floorName, floor, "ms", "",
                         BenchFigures::Format("making the keys %.1f ms", keying)});
    BenchFigures::Print({"the same with QCollator in numeric mode", BenchFigures::Median(collated),
                         floorName, floor, "ms"});
    return 0;
}

// How long a CColorListCtrl takes to fill with a large folder's rows and paint them for the
// first time, beside the floor: the first paint of the same list empty. Medians of several runs
// after a warm-up, on the offscreen platform.
#include "controls/CColorListCtrl.h"
#include "support/BenchFigures.h"

#include <QApplication>
#include <QElapsedTimer>

namespace {

std::vector<CColorListCtrl::Row> MakeRows(int rowCount) {
    std::vector<CColorListCtrl::Row> rows;
    rows.reserve(static_cast<size_t>(rowCount));
    for (int i = 0; i < rowCount; ++i)
        rows.push_back({{QStringLiteral("file %1.mkv").arg(i), QStringLiteral("%1 KB").arg(i)},
                        2,
                        QColor(128, 220, 242),
                        QColor(0, 32, 64)});
    return rows;
}

// Fills a new list with the rows and paints it: the milliseconds.
double FillAndPaint(int rowCount) {
    std::vector<CColorListCtrl::Row> rows = MakeRows(rowCount);
    CColorListCtrl list;
    list.resize(800, 600);
    list.SetColumnCount(2);
    list.InsertColumn(0, QStringLiteral("File"));
    list.InsertColumn(1, QStringLiteral("Size"));
    list.SetColumnWidth(0, 560);
    list.SetColumnWidth(1, 200);
    QElapsedTimer timer;
    timer.start();
    list.FillRows(std::move(rows));
    list.grab();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = BenchFigures::Runs(7);
    for (const int rowCount : {1000, 100000}) {
        std::vector<double> empty;
        std::vector<double> filled;
        for (int run = -1; run < runs; ++run) {
            const double e = FillAndPaint(0);
            const double f = FillAndPaint(rowCount);
            if (run >= 0) {
                empty.push_back(e);
                filled.push_back(f);
            }
        }
        BenchFigures::Print(
            {BenchFigures::Format("list fill, %d rows: fill and first paint", rowCount),
             BenchFigures::Median(filled), "first paint of the empty list",
             BenchFigures::Median(empty), "ms"});
    }
    return 0;
}

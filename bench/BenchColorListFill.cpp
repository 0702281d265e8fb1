// How long a CColorListCtrl takes to fill with a large folder and paint it for the first time.
// Run with QT_QPA_PLATFORM=offscreen; prints milliseconds.
#include "controls/CColorListCtrl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

double Ms(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void Measure(int rowCount) {
    std::vector<CColorListCtrl::Row> rows;
    rows.reserve(static_cast<size_t>(rowCount));
    for (int i = 0; i < rowCount; ++i)
        rows.push_back({{QStringLiteral("file %1.mkv").arg(i), QStringLiteral("%1 KB").arg(i)},
                        2,
                        QColor(128, 220, 242),
                        QColor(0, 32, 64)});
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
    const double fill = Ms(timer);
    list.grab();
    std::printf("%7d rows: fill %.1f ms, fill and first paint %.1f ms\n", rowCount, fill,
                Ms(timer));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    for (int rows : {0, 1000, 100000})
        Measure(rows);
    return 0;
}

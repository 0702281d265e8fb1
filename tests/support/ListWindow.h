#pragma once

#include "controls/CColorListCtrl.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

// A colour list set up as the view sets up its two lists, and rows to fill it with.
namespace ListKit {

inline const QColor kListBackground(0, 32, 64);
inline const QColor kRowText(128, 220, 242);
inline const QColor kRowBackground(0, 32, 64);

inline QFont PixelFont(int height) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(height);
    return font;
}

inline CColorListCtrl::Row MakeRow(const QString& name, const QString& size, int icon = 0,
                                   QColor text = kRowText, QColor background = kRowBackground) {
    return {{name, size}, icon, text, background};
}

inline std::vector<CColorListCtrl::Row> NumberedRows(int count) {
    std::vector<CColorListCtrl::Row> rows;
    rows.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        rows.push_back(MakeRow(QStringLiteral("file %1").arg(i), QStringLiteral("%1 KB").arg(i)));
    return rows;
}

// The two columns the view gives both lists.
inline void AddColumns(CColorListCtrl& list) {
    list.SetColumnCount(2);
    list.InsertColumn(0, QStringLiteral("File"));
    list.InsertColumn(1, QStringLiteral("Size"));
}

inline void ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

// A window holding one list set up as the view sets up its two lists.
struct ListWindow {
    QWidget window;
    CColorListCtrl* list = new CColorListCtrl(&window);

    ListWindow() {
        window.resize(420, 320);
        list->setGeometry(0, 0, 420, 320);
        list->SetBackgroundColor(kListBackground);
        list->SetRowFont(PixelFont(16));
        AddColumns(*list);
        list->SetColumnWidth(0, 260);
        list->SetColumnWidth(1, 120);
    }
    void Show() {
        ShowActive(window);
        list->setFocus();
    }
    // The list's rows as drawn, in viewport coordinates.
    QImage Grab() {
        return list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

} // namespace ListKit

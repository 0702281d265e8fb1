#include "app/WindowPlacement.h"
#include "settings/ProfileFormat.h"

#include <gtest/gtest.h>

namespace {

using WindowPlacement::Form;

TEST(WindowPlacement, CapturedWindowIsNeverStoredMinimised) {
    const QRect normal(200, 150, 800, 600);
    const struct {
        Form form;
        const char* stored;
    } rows[] = {
        {Form::Normal, "0:1:-1:-1:-1:-1:200:150:1000:750"},
        {Form::Maximized, "2:3:-1:-1:-1:-1:200:150:1000:750"},
        {Form::Minimized, "0:9:-1:-1:-1:-1:200:150:1000:750"},
        {Form::MinimizedFromMaximized, "2:3:-1:-1:-1:-1:200:150:1000:750"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FormatWindowPos(WindowPlacement::Captured(row.form, normal)),
                  QString::fromLatin1(row.stored));
    }
}

TEST(WindowPlacement, ShowStateNeverStartsMinimised) {
    const struct {
        int flags;
        int showCmd;
        Qt::WindowStates state;
    } rows[] = {
        {0, 1, Qt::WindowNoState},   {2, 1, Qt::WindowNoState},   {0, 3, Qt::WindowMaximized},
        {2, 3, Qt::WindowMaximized}, {0, 9, Qt::WindowNoState},   {0, 2, Qt::WindowNoState},
        {2, 2, Qt::WindowMaximized}, {2, 6, Qt::WindowMaximized}, {2, 7, Qt::WindowMaximized},
        {0, 0, Qt::WindowNoState},   {0, -5, Qt::WindowNoState},
    };
    for (const auto& row : rows) {
        WindowPlacementValues placement;
        placement.flags = row.flags;
        placement.showCmd = row.showCmd;
        EXPECT_EQ(WindowPlacement::ShowState(placement), row.state)
            << row.flags << ":" << row.showCmd;
    }
}

TEST(WindowPlacement, NormalRectStaysWithinWindowCoordinates) {
    const struct {
        WindowPlacementValues stored;
        QRect rect;
    } rows[] = {
        {{0, 1, -1, -1, -1, -1, 200, 150, 1000, 750}, QRect(200, 150, 800, 600)},
        {{0, 1, -1, -1, -1, -1, -300, -20, 500, 600}, QRect(-300, -20, 800, 620)},
        // Inverted and extreme hand-edited rectangles give what the window system can take.
        {{0, 1, -1, -1, -1, -1, 500, 400, 100, 100}, QRect(500, 400, 0, 0)},
        {{0, 1, -1, -1, -1, -1, INT32_MIN, 0, INT32_MAX, 100}, QRect(-32768, 0, 32767, 100)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(WindowPlacement::NormalRect(row.stored), row.rect)
            << FormatWindowPos(row.stored).toStdString();
}

} // namespace

#include "view/TitleGeometry.h"

#include <gtest/gtest.h>

namespace {

using namespace TitleGeometry;

const int kButtonSide[] = {37, 48, 68, 96, 136};

TEST(TitleGeometry, SizeStepsAndOutOfRangeIndexesDrawnLikeZero) {
    struct Row {
        int index;
        SizeStep step;
    };
    const Row rows[] = {
        {0, {37, 20, 17, 12, 16, 20, 80}},   {1, {48, 28, 20, 16, 23, 28, 112}},
        {2, {68, 40, 28, 23, 34, 40, 160}},  {3, {96, 56, 40, 34, 48, 56, 224}},
        {4, {136, 80, 56, 48, 70, 80, 320}}, {-1, {37, 20, 17, 12, 16, 20, 80}},
        {5, {37, 20, 17, 12, 16, 20, 80}},   {1 << 30, {37, 20, 17, 12, 16, 20, 80}},
    };
    for (const Row& row : rows) {
        const SizeStep s = SizeStepFor(row.index);
        EXPECT_EQ(s.titleHeight, row.step.titleHeight) << row.index;
        EXPECT_EQ(s.line1Height, row.step.line1Height) << row.index;
        EXPECT_EQ(s.line2Height, row.step.line2Height) << row.index;
        EXPECT_EQ(s.headerFontPx, row.step.headerFontPx) << row.index;
        EXPECT_EQ(s.rowFontPx, row.step.rowFontPx) << row.index;
        EXPECT_EQ(s.iconSize, row.step.iconSize) << row.index;
        EXPECT_EQ(s.minSizeColumn, row.step.minSizeColumn) << row.index;
    }
}

TEST(TitleGeometry, SizeColumnIsASixthButNeverBelowTheMinimum) {
    struct Row {
        int usable, index, width;
    };
    const Row rows[] = {
        {600, 0, 100},  {479, 0, 80},   {485, 0, 80},   {486, 0, 81},   {1000, 1, 166},
        {671, 1, 112},  {960, 2, 160},  {1000, 2, 166}, {1343, 3, 224}, {1349, 3, 224},
        {1350, 3, 225}, {1900, 4, 320}, {1926, 4, 321}, {-50, 4, 320},  {0, 9, 80},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SizeColumnWidth(row.usable, row.index), row.width)
            << row.usable << " at " << row.index;
}

TEST(TitleGeometry, ButtonSquaresEndAtTheRightEdge) {
    EXPECT_EQ(GetTitleButtonRect(3, QRect(0, 0, 800, 600), false, 2), QRect(732, 0, 68, 68));
    EXPECT_EQ(GetTitleButtonRect(0, QRect(0, 0, 800, 600), false, 2), QRect(528, 0, 68, 68));
    EXPECT_EQ(GetTitleButtonRect(4, QRect(0, 0, 1920, 1080), true, 4), QRect(1784, 0, 136, 136));
    EXPECT_EQ(GetTitleButtonRect(0, QRect(0, 0, 1920, 1080), true, 4), QRect(1240, 0, 136, 136));
    EXPECT_EQ(GetTitleButtonRect(1, QRect(0, 0, 640, 480), false, 7), QRect(529, 0, 37, 37));
}

// Every button at every size, windowed and in full screen: its corners, the line y == s below
// it, the pixel left of the strip.
TEST(TitleGeometry, HitTestAtEverySizeStep) {
    const QRect client(0, 0, 1024, 700);
    const int right = 1024;
    for (int k = 0; k < 5; ++k) {
        const int s = kButtonSide[k];
        for (bool full : {false, true}) {
            const int n = full ? 5 : 4;
            auto hit = [&](int x, int y) {
                return HitTestTitleButton(x, y, client, false, full, false, false, k);
            };
            for (int i = 0; i < n; ++i) {
                const int left = right - (n - i) * s;
                EXPECT_EQ(hit(left, 0), i) << "k " << k << " full " << full;
                EXPECT_EQ(hit(left + s - 1, 0), i) << "k " << k << " full " << full;
                EXPECT_EQ(hit(left, s), i) << "y == s counts, k " << k;
                EXPECT_EQ(hit(left + s - 1, s + 1), -1) << "below, k " << k;
            }
            EXPECT_EQ(hit(right - n * s - 1, 0), -1) << "left of the strip, k " << k;
            EXPECT_EQ(hit(6, 10), -1) << "title text, k " << k;
            EXPECT_EQ(HitTestTitleButton(right - 1, 0, client, true, full, false, false, k), -1)
                << "playing, k " << k;
        }
    }
}

TEST(TitleGeometry, UpFolderButtonOnlyBelowTheDriveSelectionOnTheFolderScreen) {
    const QRect client(0, 0, 800, 600);
    struct Row {
        bool resumeScreen, driveLevel;
        int button0;
    };
    const Row rows[] = {{false, false, 0}, {true, false, -1}, {false, true, -1}, {true, true, -1}};
    for (const Row& row : rows) {
        for (bool full : {false, true}) {
            const int n = full ? 5 : 4;
            const int left0 = 800 - n * 68;
            EXPECT_EQ(HitTestTitleButton(left0 + 5, 5, client, false, full, row.resumeScreen,
                                         row.driveLevel, 2),
                      row.button0);
            EXPECT_EQ(HitTestTitleButton(left0 + 68, 5, client, false, full, row.resumeScreen,
                                         row.driveLevel, 2),
                      1)
                << "the other buttons keep their places";
        }
        EXPECT_EQ(HasUpFolderButton(row.resumeScreen, row.driveLevel), row.button0 == 0);
    }
}

// A release with the mouse captured can land outside the view; that is no button.
TEST(TitleGeometry, PointsOutsideTheViewAreNoButton) {
    const QRect client(0, 0, 100, 300); // narrower than the windowed strip of 4 x 37
    EXPECT_EQ(HitTestTitleButton(-10, 5, client, false, false, false, false, 0), -1);
    EXPECT_EQ(HitTestTitleButton(0, 5, client, false, false, false, false, 0), 1);
    EXPECT_EQ(HitTestTitleButton(99, 5, client, false, false, false, false, 0), 3);
    EXPECT_EQ(HitTestTitleButton(100, 5, client, false, false, false, false, 0), -1);
    EXPECT_EQ(HitTestTitleButton(99, -5, client, false, false, false, false, 0), -1);
}

TEST(TitleGeometry, ExitButtonOnlyInFullScreen) {
    EXPECT_EQ(TitleButtonCount(false), 4);
    EXPECT_EQ(TitleButtonCount(true), 5);
}

} // namespace

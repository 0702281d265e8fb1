#include "settings/SettingKeys.h"
#include "view/TitleGeometry.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

using namespace TitleGeometry;

auto Fields(const SizeStep& s) {
    return std::tuple(s.titleHeight, s.line1Height, s.line2Height, s.headerFontPx, s.rowFontPx,
                      s.iconSize, s.minSizeColumn);
}

// The smallest and the largest step as drawn; each step between is larger in every measure.
TEST(TitleGeometry, SizeStepsGrowAndOutOfRangeIndexesAreDrawnLikeZero) {
    EXPECT_EQ(Fields(SizeStepFor(0)), std::tuple(37, 20, 17, 12, 16, 20, 80));
    EXPECT_EQ(Fields(SizeStepFor(kFontSizeSteps - 1)), std::tuple(136, 80, 56, 48, 70, 80, 320));
    for (int k = 1; k < kFontSizeSteps; ++k) {
        for (int SizeStep::*field :
             {&SizeStep::titleHeight, &SizeStep::line1Height, &SizeStep::line2Height,
              &SizeStep::headerFontPx, &SizeStep::rowFontPx, &SizeStep::iconSize,
              &SizeStep::minSizeColumn})
            EXPECT_GT(SizeStepFor(k).*field, SizeStepFor(k - 1).*field) << k;
    }
    for (int index : {-1, kFontSizeSteps, 1 << 30})
        EXPECT_EQ(Fields(SizeStepFor(index)), Fields(SizeStepFor(0))) << index;
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
    for (int k = 0; k < kFontSizeSteps; ++k) {
        const int s = SizeStepFor(k).titleHeight;
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

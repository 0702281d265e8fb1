#include "view/TitleGeometry.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<SizeStep, TitleGeometry::kStepCount> kSizeSteps = {{
    {37, 20, 17, 12, 16, 20, 80},
    {48, 28, 20, 16, 23, 28, 112},
    {68, 40, 28, 23, 34, 40, 160},
    {96, 56, 40, 34, 48, 56, 224},
    {136, 80, 56, 48, 70, 80, 320},
}};

constexpr bool StepsAreConsistent() {
    for (const SizeStep& step : kSizeSteps) {
        if (step.titleHeight != step.line1Height + step.line2Height ||
            step.minSizeColumn != 4 * step.iconSize)
            return false;
    }
    return true;
}
static_assert(StepsAreConsistent(), "title height is both lines, column 1 four icons wide");

int ClientRight(const QRect& clientRect) {
    return clientRect.x() + clientRect.width();
}

} // namespace

namespace TitleGeometry {

int StepIndex(int index) {
    return index >= 0 && index < kStepCount ? index : 0;
}

SizeStep SizeStepFor(int index) {
    return kSizeSteps[StepIndex(index)];
}

int SizeColumnWidth(int usableWidth, int index) {
    return std::max(usableWidth / 6, SizeStepFor(index).minSizeColumn);
}

int TitleButtonCount(bool fullScreen) {
    return fullScreen ? 5 : 4;
}

bool HasUpFolderButton(bool resumeScreen, bool driveLevel) {
    return !resumeScreen && !driveLevel;
}

QRect GetTitleButtonRect(int i, const QRect& clientRect, bool fullScreen, int index) {
    const int s = SizeStepFor(index).titleHeight;
    const int left = ClientRight(clientRect) + (i - TitleButtonCount(fullScreen)) * s;
    return QRect(left, clientRect.y(), s, s - clientRect.y());
}

int HitTestTitleButton(int x, int y, const QRect& clientRect, bool playing, bool fullScreen,
                       bool resumeScreen, bool driveLevel, int index) {
    const int s = SizeStepFor(index).titleHeight;
    // The line y == s still belongs to the buttons.
    if (playing || y > s)
        return -1;
    // With the mouse captured a release can land anywhere; outside the view is no button.
    if (y < clientRect.y() || x < clientRect.x() || x >= ClientRight(clientRect))
        return -1;
    const int n = TitleButtonCount(fullScreen);
    const int v = x - ClientRight(clientRect) + n * s;
    if (v < 0)
        return -1;
    const int i = v / s;
    if (i == 0 && !HasUpFolderButton(resumeScreen, driveLevel))
        return -1;
    return i;
}

} // namespace TitleGeometry

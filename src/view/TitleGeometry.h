#pragma once

#include <QRect>

// One size step (FontSizeIndex 0..4) of the lists and the title area. Title line 1 is drawn in
// the row font and line 2 in the header font.
struct SizeStep {
    int titleHeight;   // title-area height, also the side of a title-area button
    int line1Height;   // the title's first line
    int line2Height;   // the title's second line
    int headerFontPx;  // pixel height of the list header font
    int rowFontPx;     // pixel height of the list row font
    int iconSize;      // side of a list icon
    int minSizeColumn; // narrowest width of list column 1
};

// Geometry of the title area above the lists. Client rectangles are the view's own (Qt) rect;
// its right edge here is the first pixel past it (left + width).
namespace TitleGeometry {

inline constexpr int kStepCount = 5; // the size steps 0..4 of the settings

// Out-of-range indexes (a hand-edited profile) are drawn like index 0.
int StepIndex(int index);
SizeStep SizeStepFor(int index);

// Width of list column 1: a sixth of the usable width, not less than the step's minimum.
int SizeColumnWidth(int usableWidth, int index);

// 5 buttons in full screen (the exit button 4 only there), 4 in a window.
int TitleButtonCount(bool fullScreen);

// Button 0 (up one folder) is left out on the resume screen and at the drive selection; the
// other buttons keep their places.
bool HasUpFolderButton(bool resumeScreen, bool driveLevel);

// The square of button i; the buttons end at the client area's right edge.
QRect GetTitleButtonRect(int i, const QRect& clientRect, bool fullScreen, int index);

// The button under (x, y) in client coordinates, or -1.
int HitTestTitleButton(int x, int y, const QRect& clientRect, bool playing, bool fullScreen,
                       bool resumeScreen, bool driveLevel, int index);

} // namespace TitleGeometry

#include "app/WindowPlacement.h"

#include <algorithm>

namespace WindowPlacement {

namespace {

// X11 window coordinates and sizes are 16-bit; hand-edited values beyond them are clamped.
constexpr qint64 kCoordinateLimit = 32767;

int ClampCoordinate(qint64 value) {
    return int(std::clamp(value, -kCoordinateLimit - 1, kCoordinateLimit));
}

int ClampLength(qint64 value) {
    return int(std::clamp<qint64>(value, 0, kCoordinateLimit));
}

} // namespace

WindowPlacementValues Captured(Form form, const QRect& normal) {
    WindowPlacementValues placement;
    placement.minX = placement.minY = placement.maxX = placement.maxY = -1;
    placement.left = normal.x();
    placement.top = normal.y();
    placement.right = normal.x() + normal.width();
    placement.bottom = normal.y() + normal.height();
    switch (form) {
    case Form::Normal:
        placement.showCmd = SW_SHOWNORMAL;
        break;
    case Form::Maximized:
    case Form::MinimizedFromMaximized:
        placement.flags = WPF_RESTORETOMAXIMIZED;
        placement.showCmd = SW_SHOWMAXIMIZED;
        break;
    case Form::Minimized:
        placement.showCmd = SW_RESTORE;
        break;
    }
    return placement;
}

QRect NormalRect(const WindowPlacementValues& placement) {
    return QRect(ClampCoordinate(placement.left), ClampCoordinate(placement.top),
                 ClampLength(qint64(placement.right) - placement.left),
                 ClampLength(qint64(placement.bottom) - placement.top));
}

Qt::WindowStates ShowState(const WindowPlacementValues& placement) {
    const int command = placement.showCmd;
    const bool minimized =
        command == SW_SHOWMINIMIZED || command == SW_MINIMIZE || command == SW_SHOWMINNOACTIVE;
    if (command == SW_SHOWMAXIMIZED || (minimized && (placement.flags & WPF_RESTORETOMAXIMIZED)))
        return Qt::WindowMaximized;
    return Qt::WindowNoState;
}

} // namespace WindowPlacement

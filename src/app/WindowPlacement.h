#pragma once

#include "settings/WindowPlacementValues.h"

#include <QRect>

// How the stored windowed placement ("WindowPos") maps onto a Qt window. The normal rectangle is
// the window's client geometry, right and bottom exclusive; the minimised and maximised
// positions have no meaning here and are stored as -1.
namespace WindowPlacement {

// Show commands and the one flag that appear in the stored values.
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_RESTORE = 9;
constexpr int WPF_RESTORETOMAXIMIZED = 2;

// How the window stood when its placement was taken.
enum class Form { Normal, Maximized, Minimized, MinimizedFromMaximized };

// A minimised window is never stored as minimised: it comes back restored, or maximised when it
// was maximised before.
WindowPlacementValues Captured(Form form, const QRect& normal);

QRect NormalRect(const WindowPlacementValues& placement);

// The state to show the window in. Minimised commands come back restored (maximised when so
// flagged), never minimised: the program does not store them, and a window that starts
// minimised can be lost where there is no task bar.
Qt::WindowStates ShowState(const WindowPlacementValues& placement);

} // namespace WindowPlacement

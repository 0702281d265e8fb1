#pragma once

#include <QPoint>
#include <QRect>

class IPointer;

// Hides the mouse pointer over the playing view after a second without movement and shows it
// again at the first real movement. It asks for show or hide on its ticks; the pointer device
// acts only when that changes what is shown.
class PointerKeeper {
public:
    // A move of more than sqrt(32) pixels within one tick counts as movement.
    static constexpr int kMoveThresholdSquared = 32;
    // 20 ticks of 50 ms.
    static constexpr int kStillTicksToHide = 20;

    explicit PointerKeeper(IPointer& pointer) : m_Pointer(pointer) {}

    // Every view tick while a file plays. viewScreenRect: the view's client area in screen
    // coordinates.
    void OnTick(const QRect& viewScreenRect);
    // Whether a tick would change anything: while the countdown runs or the menu is open, or
    // once the pointer has moved since the last tick. A hidden, still pointer, or one away from
    // the view, needs no tick.
    bool NeedsTick(const QRect& viewScreenRect);
    // While the view's menu is open the pointer stays shown.
    void SetMenuOpen(bool open) { m_bMenuOpen = open; }
    bool MenuOpen() const { return m_bMenuOpen; }
    // At the start of playback, with the pointer's current screen position.
    void Reset(QPoint current);
    void ShowPointer();
    void HidePointer();

    int StillTicks() const { return m_nCursorStillTicks; }

private:
    IPointer& m_Pointer;
    int m_nCursorStillTicks = 0;
    QPoint m_ptLastCursor;
    bool m_bMenuOpen = false;
};

#include "view/PointerKeeper.h"

#include "platform/IPointer.h"

void PointerKeeper::OnTick(const QRect& viewScreenRect) {
    if (m_bMenuOpen) {
        ShowPointer();
        m_nCursorStillTicks = 0;
        return;
    }
    QPoint pos;
    if (!m_Pointer.Position(pos) || !viewScreenRect.contains(pos))
        return;
    const qint64 dx = pos.x() - qint64{m_ptLastCursor.x()};
    const qint64 dy = pos.y() - qint64{m_ptLastCursor.y()};
    m_ptLastCursor = pos;
    if (dx * dx + dy * dy > kMoveThresholdSquared) {
        ShowPointer();
        m_nCursorStillTicks = 0;
        return;
    }
    // Counting stops at the threshold, so an endless still pointer cannot overflow the count.
    if (m_nCursorStillTicks < kStillTicksToHide)
        ++m_nCursorStillTicks;
    if (m_nCursorStillTicks >= kStillTicksToHide)
        HidePointer();
}

bool PointerKeeper::NeedsTick(const QRect& viewScreenRect) {
    if (m_bMenuOpen)
        return true;
    QPoint pos;
    if (!m_Pointer.Position(pos) || !viewScreenRect.contains(pos))
        return false;
    return m_nCursorStillTicks < kStillTicksToHide || pos != m_ptLastCursor;
}

void PointerKeeper::Reset(QPoint current) {
    m_nCursorStillTicks = 0;
    m_ptLastCursor = current;
}

void PointerKeeper::ShowPointer() {
    m_Pointer.Show();
}

void PointerKeeper::HidePointer() {
    m_Pointer.Hide();
}

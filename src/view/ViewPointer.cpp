#include "view/ViewPointer.h"

#include <QCursor>

// Called on every tick: only a change touches the cursor.
void ViewPointer::Show() {
    if (!m_bHidden || m_View.isNull())
        return;
    m_View->unsetCursor();
    m_bHidden = false;
}

void ViewPointer::Hide() {
    if (m_bHidden || m_View.isNull())
        return;
    m_View->setCursor(Qt::BlankCursor);
    m_bHidden = true;
}

bool ViewPointer::Position(QPoint& screenPos) {
    screenPos = QCursor::pos();
    return true;
}

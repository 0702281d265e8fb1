#include "view/ViewPointer.h"

#include <QCursor>
#include <QEvent>
#include <QSinglePointEvent>

void ViewPointer::SetTarget(QWidget* view) {
    if (m_View)
        m_View->removeEventFilter(this);
    m_View = view;
    m_LastSeen.reset();
    m_Left = false;
    if (!view)
        return;
    // Moves without a button pressed are reported too.
    view->setMouseTracking(true);
    view->installEventFilter(this);
}

// Called on every tick: only a change touches the cursor.
void ViewPointer::Show() {
    if (!m_Hidden || m_View.isNull())
        return;
    m_View->unsetCursor();
    m_Hidden = false;
}

void ViewPointer::Hide() {
    if (m_Hidden || m_View.isNull())
        return;
    m_View->setCursor(Qt::BlankCursor);
    m_Hidden = true;
}

bool ViewPointer::Position(QPoint& screenPos) {
    if (m_Left)
        return false; // not over the view, wherever it is
    if (!m_LastSeen)
        m_LastSeen = QCursor::pos();
    screenPos = *m_LastSeen;
    return true;
}

bool ViewPointer::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        m_LastSeen = static_cast<QSinglePointEvent*>(event)->globalPosition().toPoint();
        m_Left = false;
        break;
    case QEvent::Enter:
        // Qt also sends one when a child over the pointer is hidden, with the position it last
        // knew, which may be old: the window system is asked once instead.
        m_LastSeen.reset();
        m_Left = false;
        break;
    case QEvent::Leave:
        m_Left = true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

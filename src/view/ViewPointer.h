#pragma once

#include "platform/IPointer.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <optional>

// The pointer over the view: a blank cursor on the view hides it. Its position is where the
// view's own mouse events last saw it, and unknown (not over the view) after it has left; the
// window system is asked only when it has entered and not moved since. Asking it on every tick
// (QCursor::pos) is a round trip to the X server twenty times a second, and was most of the
// processor time the program used while a file played, paused or not.
class ViewPointer : public QObject, public IPointer {
    Q_OBJECT
public:
    void SetTarget(QWidget* view);
    void Show() override;
    void Hide() override;
    bool Position(QPoint& screenPos) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_View;
    bool m_Hidden = false;
    std::optional<QPoint> m_LastSeen;
    bool m_Left = false;
};

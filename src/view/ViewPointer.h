#pragma once

#include "platform/IPointer.h"

#include <QPointer>
#include <QWidget>

// The pointer over the view: a blank cursor on the view hides it.
class ViewPointer : public IPointer {
public:
    void SetTarget(QWidget* view) { m_View = view; }
    void Show() override;
    void Hide() override;
    bool Position(QPoint& screenPos) override;

private:
    QPointer<QWidget> m_View;
    bool m_bHidden = false;
};

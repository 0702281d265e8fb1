#pragma once

#include <QPoint>

// The mouse pointer over the view: shown, hidden, and where it is on the screen.
class IPointer {
public:
    virtual ~IPointer() = default;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool Position(QPoint& screenPos) = 0;
};

#pragma once

#include "platform/IPointer.h"

// A pointer the test places; shows and hides are only recorded.
class FakePointer : public IPointer {
public:
    void Show() override { hidden = false; }
    void Hide() override { hidden = true; }
    bool Position(QPoint& screenPos) override {
        screenPos = position;
        return readable;
    }

    QPoint position{-1000, -1000};
    bool readable = true;
    bool hidden = false;
};

#pragma once

#include <QColor>

// The colours of one list row. The list owns one per row; owners may derive from it to keep
// more per row.
struct CMyLParam {
    virtual ~CMyLParam() = default;
    QColor background{255, 255, 255};
    QColor text{0, 0, 0};
};

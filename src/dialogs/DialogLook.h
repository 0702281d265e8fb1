#pragma once

#include <QFont>
#include <QSize>

// What the dialogs share: the Japanese sans-serif they are set in and the conversion of the
// dialog units their layouts were drawn in.
namespace DialogLook {

QFont Font(int pointSize);

// Dialog units of an 8-point dialog font at 96 DPI (base units 6 x 13), in device-independent
// pixels; layouts may grow beyond this where the Japanese text needs more room.
QSize Pixels(int dluWidth, int dluHeight);

} // namespace DialogLook

#pragma once

#include <QColor>

// The view's colours.
namespace ViewColors {
inline const QColor kColorKey{1, 2, 3}; // the background, and MPlayer's overlay colour key
inline const QColor kRowText{128, 220, 242};
inline const QColor kRowBackground{0, 32, 64};
inline const QColor kFolderTitle{111, 160, 192};
inline const QColor kResumeTitle{192, 160, 111};
inline const QColor kPressedButton{192, 255, 255};
} // namespace ViewColors

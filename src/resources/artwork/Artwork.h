#pragma once

#include <QImage>

// The pictures the program embeds, each painted from code.

// Eight square list icons of side `size` in a row: drive, folder, video, video with a stored
// position, missing video, audio, audio with a stored position, missing audio. Transparent
// pixels carry the mask colour RGB(100, 100, 100).
QImage PaintListIcons(int size);
// The title-area buttons, 400 x 80: up one folder, switch screen, switch screen carrying the
// selection, settings, exit.
QImage PaintTitleButtons();
// The logo shown while an audio file plays, 256 x 256 on the view's background colour.
QImage PaintLogo();
// The application icon of side `size`, transparent around the mark.
QImage PaintAppIcon(int size);
// The control pad, 384 x 896: 3 x 7 buttons of 128 x 128 pixels.
QImage PaintPad();

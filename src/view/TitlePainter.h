#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

// Paints the view: the colour-key background with the audio logo, and on the list screens the
// two title lines and the button strip.
class TitlePainter {
public:
    struct Title {
        QString line1;
        QString line2;
        QColor color;
        int sizeIndex = 0;       // the size step, any value (outside 0..4 drawn like 0)
        bool fullScreen = false; // five buttons instead of four
        bool skipButton0 = false;
        int pressedButton = -1;
    };

    static void PaintBackground(QPainter& painter, const QRect& client, const QImage* logo);
    static void PaintTitle(QPainter& painter, const QRect& client, const Title& title,
                           const QFont& line1Font, const QFont& line2Font, const QImage& buttons);
};

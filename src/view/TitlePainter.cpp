#include "view/TitlePainter.h"

#include "view/TitleGeometry.h"
#include "view/ViewColors.h"

#include <QPainter>

namespace {

constexpr int kButtonSource = 80; // side of one picture in the button strip

void PaintLine(QPainter& painter, const QRect& rect, const QFont& font, const QString& text) {
    painter.setFont(font);
    // One line, vertically centred, '&' shown as it is; the rectangle clips what is too long.
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

} // namespace

void TitlePainter::PaintBackground(QPainter& painter, const QRect& client, const QImage* logo) {
    painter.fillRect(client, ViewColors::kColorKey);
    if (logo == nullptr || logo->isNull())
        return;
    // Unscaled and centred; a smaller view cuts it on every side.
    painter.drawImage(QPoint((client.right() + 1 - logo->width()) / 2,
                             (client.bottom() + 1 - logo->height()) / 2),
                      *logo);
}

void TitlePainter::PaintTitle(QPainter& painter, const QRect& client, const Title& title,
                              const QFont& line1Font, const QFont& line2Font,
                              const QImage& buttons) {
    const SizeStep step = TitleGeometry::SizeStepFor(title.sizeIndex);
    const int s = step.titleHeight;
    painter.save();
    painter.setPen(title.color);
    const int right = client.right() + 1;
    PaintLine(painter, QRect(6, 0, right - 6, step.line1Height), line1Font, title.line1);
    PaintLine(painter, QRect(6, step.line1Height, right - 6, s - step.line1Height), line2Font,
              title.line2);
    const int n = title.fullScreen ? 5 : 4;
    const int first = title.skipButton0 ? 1 : 0;
    const int drawn = n - first;
    if (!buttons.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(right - drawn * s, 0, drawn * s, s), buttons,
                          QRect(first * kButtonSource, 0, drawn * kButtonSource, kButtonSource));
    }
    if (title.pressedButton >= 0) {
        const QRect square = TitleGeometry::GetTitleButtonRect(title.pressedButton, client,
                                                               title.fullScreen, title.sizeIndex);
        painter.fillRect(square, ViewColors::kPressedButton);
        if (!buttons.isNull()) {
            painter.setOpacity(128.0 / 255.0);
            painter.drawImage(
                square, buttons,
                QRect(title.pressedButton * kButtonSource, 0, kButtonSource, kButtonSource));
        }
    }
    painter.restore();
}

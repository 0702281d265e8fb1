#include "ArtShapes.h"
#include "Artwork.h"

#include <QPainter>

using namespace ArtShapes;

QImage PaintLogo() {
    QImage logo(256, 256, QImage::Format_RGB32);
    logo.fill(QColor(1, 2, 3)); // the view's background, around which the logo is centred
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    DrawMark(p, QRectF(48, 14, 160, 160));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(226, 234, 246));
    p.drawPath(Text(QStringLiteral("Ravolo"), QRectF(40, 192, 176, 44)));
    return logo;
}

QImage PaintAppIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    DrawMark(p, QRectF(0, 0, size, size));
    p.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}

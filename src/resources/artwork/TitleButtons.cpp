#include "ArtShapes.h"
#include "Artwork.h"

#include <QPainter>

using namespace ArtShapes;

namespace {

constexpr int kSide = 80;
// The view's background, so the squares sit seamlessly in the title area.
const QColor kViewBackground(1, 2, 3);
const QColor kSymbol(232, 238, 248);

void DrawTile(QPainter& p, const QRectF& box, QColor top, QColor bottom) {
    QPainterPath tile;
    tile.addRoundedRect(box.adjusted(5, 5, -5, -5), 13, 13);
    p.setPen(QPen(QColor(86, 98, 120), 1.5));
    p.setBrush(Gradient(box, top, bottom));
    p.drawPath(tile);
}

// The screen-switch square: split diagonally into orange and blue.
void DrawSwitchSquare(QPainter& p, const QRectF& box) {
    const QRectF square = Part(box, 0.24, 0.24, 0.52, 0.52);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 146, 36));
    p.drawPolygon(QPolygonF({square.topLeft(), square.topRight(), square.bottomLeft()}));
    p.setBrush(QColor(44, 128, 236));
    p.drawPolygon(QPolygonF({square.topRight(), square.bottomRight(), square.bottomLeft()}));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kSymbol, 3));
    p.drawRect(square);
}

void DrawSelectedSquares(QPainter& p, const QRectF& box) {
    p.setPen(QPen(QColor(20, 60, 140), 2));
    p.setBrush(QColor(214, 246, 255));
    p.drawRect(Part(box, 0.3, 0.3, 0.17, 0.17));
    p.drawRect(Part(box, 0.53, 0.53, 0.17, 0.17));
}

} // namespace

QImage PaintTitleButtons() {
    QImage strip(kSide * 5, kSide, QImage::Format_RGB32);
    strip.fill(kViewBackground);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor tileTop(52, 62, 80), tileBottom(28, 33, 44);
    auto box = [](int i) { return QRectF(i * kSide, 0, kSide, kSide); };

    // 0: up one folder.
    DrawTile(p, box(0), tileTop, tileBottom);
    QPainterPath up;
    up.addRect(Part(box(0), 0.27, 0.28, 0.09, 0.44));
    up.addPath(Triangle(At(box(0), 0.38, 0.5), At(box(0), 0.74, 0.5), kSide * 0.44));
    FillRaised(p, up, kSymbol, 2);

    // 1 and 2: switch screen, without and with the selection.
    for (int i : {1, 2}) {
        DrawTile(p, box(i), tileTop, tileBottom);
        DrawSwitchSquare(p, box(i));
    }
    DrawSelectedSquares(p, box(2));

    // 3: settings.
    DrawTile(p, box(3), tileTop, tileBottom);
    FillRaised(p, Gear(Part(box(3), 0.2, 0.2, 0.6, 0.6), 8), QColor(206, 214, 228), 2);

    // 4: exit.
    DrawTile(p, box(4), QColor(232, 64, 56), QColor(168, 22, 22));
    FillRaised(p, Cross(Part(box(4), 0.31, 0.31, 0.38, 0.38), kSide * 0.11), Qt::white, 2);
    return strip;
}

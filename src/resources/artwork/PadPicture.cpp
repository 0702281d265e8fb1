#include "ArtShapes.h"
#include "Artwork.h"

#include <QPainter>
#include <functional>

using namespace ArtShapes;

namespace {

constexpr int kCell = 128;
const QColor kGap(10, 12, 18);
const QColor kSymbol(236, 240, 248);
constexpr qreal kDepth = 3;

enum class Face { Plain, Blue, Flat };

void DrawFace(QPainter& p, const QRectF& cell, Face face) {
    const QRectF button = cell.adjusted(6, 6, -6, -6);
    QPainterPath path;
    path.addRoundedRect(button, 18, 18);
    const bool blue = face == Face::Blue;
    const QColor top = blue                 ? QColor(64, 140, 240)
                       : face == Face::Flat ? QColor(40, 44, 54)
                                            : QColor(78, 86, 104);
    const QColor bottom = blue                 ? QColor(24, 76, 170)
                          : face == Face::Flat ? QColor(30, 33, 41)
                                               : QColor(42, 47, 58);
    p.setPen(QPen(QColor(4, 5, 8), 2));
    p.setBrush(Gradient(button, top, bottom));
    p.drawPath(path);
    // A light edge along the top makes the button look raised.
    p.setPen(QPen(QColor(255, 255, 255, face == Face::Flat ? 20 : 50), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(QPainterPath(path).translated(0, 1.5).intersected(path));
}

void Symbol(QPainter& p, const QPainterPath& path) {
    FillRaised(p, path, kSymbol, kDepth);
}

// The symbols, in the order of the cells. Each gets its cell's box.
using CellDraw = std::function<void(QPainter&, const QRectF&)>;

void DrawExit(QPainter& p, const QRectF& b) {
    DrawMark(p, Part(b, 0.2, 0.2, 0.56, 0.56));
    QPainterPath badge;
    badge.addEllipse(At(b, 0.72, 0.72), b.width() * 0.13, b.width() * 0.13);
    FillOutlined(p, badge, QColor(226, 40, 40), 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(Cross(Part(b, 0.655, 0.655, 0.13, 0.13), 4));
}

void DrawGrip(QPainter& p, const QRectF& b) {
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QPointF c = At(b, 0.34 + col * 0.16, 0.34 + row * 0.16);
            p.setBrush(QColor(0, 0, 0, 140));
            p.drawEllipse(c + QPointF(0, 1.5), 5.5, 5.5);
            p.setBrush(QColor(150, 160, 178));
            p.drawEllipse(c, 5.5, 5.5);
        }
    }
}

void DrawCloseBox(QPainter& p, const QRectF& b) {
    QPainterPath frame;
    frame.addRoundedRect(Part(b, 0.27, 0.27, 0.46, 0.46), 6, 6);
    QPainterPath inside;
    inside.addRoundedRect(Part(b, 0.27, 0.27, 0.46, 0.46).adjusted(6, 6, -6, -6), 2, 2);
    Symbol(p, frame.subtracted(inside).united(Cross(Part(b, 0.39, 0.39, 0.22, 0.22), 6)));
}

QPainterPath SkipPath(const QRectF& b, bool forward) {
    const qreal dir = forward ? 1 : -1;
    const QPointF c = b.center();
    QPainterPath path = Triangle(c + QPointF(dir * 16, 0), c - QPointF(dir * 20, 0), 44);
    path.addRect(QRectF(c.x() + (forward ? 18 : -28), c.y() - 22, 10, 44));
    return path;
}

QPainterPath DoubleTriangle(const QRectF& b, bool forward) {
    const qreal dir = forward ? 1 : -1;
    const QPointF c = b.center();
    QPainterPath path = Triangle(c + QPointF(dir * 28, 0), c, 42);
    path.addPath(Triangle(c, c - QPointF(dir * 28, 0), 42));
    return path;
}

void DrawFullScreen(QPainter& p, const QRectF& b) {
    const QRectF frame = Part(b, 0.24, 0.28, 0.52, 0.44);
    QPainterPath outer;
    outer.addRoundedRect(frame, 5, 5);
    QPainterPath inner;
    inner.addRoundedRect(frame.adjusted(5, 5, -5, -5), 2, 2);
    QPainterPath path = outer.subtracted(inner);
    const QPointF c = frame.center();
    for (auto [dx, dy] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
        const QPointF corner(c.x() + dx * (frame.width() / 2 - 10),
                             c.y() + dy * (frame.height() / 2 - 9));
        path.addPath(Arrow(c + (corner - c) * 0.3, corner, 4, 14));
    }
    Symbol(p, path.simplified());
}

QPainterPath PlayPause(const QRectF& b) {
    const QPointF c = b.center();
    QPainterPath path = Triangle(c + QPointF(2, 0), c - QPointF(28, 0), 42);
    path.addRect(QRectF(c.x() + 9, c.y() - 20, 8, 40));
    path.addRect(QRectF(c.x() + 23, c.y() - 20, 8, 40));
    return path;
}

QPainterPath Stop(const QRectF& b) {
    QPainterPath path;
    path.addRoundedRect(Part(b, 0.34, 0.34, 0.32, 0.32), 3, 3);
    return path;
}

QPainterPath ArrowKey(const QRectF& b, qreal dx, qreal dy) {
    const QPointF c = b.center();
    const QPointF reach(dx * 30, dy * 30);
    return Arrow(c - reach, c + reach, 14, 40);
}

QPainterPath Word(const QRectF& b, const QString& word) {
    return Text(word, Part(b, 0.2, 0.38, 0.6, 0.24));
}

void DrawBackspace(QPainter& p, const QRectF& b) {
    QPainterPath path = Text(QStringLiteral("BS"), Part(b, 0.33, 0.24, 0.34, 0.22));
    path.addPath(Arrow(At(b, 0.72, 0.66), At(b, 0.28, 0.66), 10, 30));
    Symbol(p, path);
}

CellDraw Fill(Face face, std::function<QPainterPath(const QRectF&)> shape) {
    return [face, shape](QPainter& p, const QRectF& b) {
        DrawFace(p, b, face);
        Symbol(p, shape(b));
    };
}

CellDraw Custom(Face face, void (*draw)(QPainter&, const QRectF&)) {
    return [face, draw](QPainter& p, const QRectF& b) {
        DrawFace(p, b, face);
        draw(p, b);
    };
}

} // namespace

QImage PaintPad() {
    const CellDraw cells[21] = {
        Custom(Face::Plain, DrawExit),
        Custom(Face::Flat, DrawGrip),
        Custom(Face::Plain, DrawCloseBox),
        Fill(Face::Plain, [](const QRectF& b) { return SkipPath(b, false); }),
        Fill(Face::Plain, [](const QRectF& b) { return SkipPath(b, true); }),
        Custom(Face::Plain, DrawFullScreen),
        Fill(Face::Plain, [](const QRectF& b) { return DoubleTriangle(b, false); }),
        Fill(Face::Plain, [](const QRectF& b) { return DoubleTriangle(b, true); }),
        Fill(Face::Blue,
             [](const QRectF& b) {
                 return Triangle(b.center() - QPointF(0, 20), b.center() + QPointF(0, 18), 50);
             }),
        Fill(Face::Plain, PlayPause),
        Fill(Face::Plain, Stop),
        Fill(Face::Blue,
             [](const QRectF& b) {
                 return Triangle(b.center() + QPointF(0, 20), b.center() - QPointF(0, 18), 50);
             }),
        Fill(Face::Plain, [](const QRectF& b) { return Word(b, QStringLiteral("Tab")); }),
        Fill(Face::Plain, [](const QRectF& b) { return ArrowKey(b, 0, -1); }),
        Custom(Face::Plain, DrawBackspace),
        Fill(Face::Plain, [](const QRectF& b) { return ArrowKey(b, -1, 0); }),
        Fill(Face::Plain, [](const QRectF& b) { return Word(b, QStringLiteral("Enter")); }),
        Fill(Face::Plain, [](const QRectF& b) { return ArrowKey(b, 1, 0); }),
        Custom(Face::Plain,
               [](QPainter& p, const QRectF& b) {
                   DrawFolder(p, Part(b, 0.22, 0.26, 0.56, 0.48), true, 2.5);
               }),
        Fill(Face::Plain, [](const QRectF& b) { return ArrowKey(b, 0, 1); }),
        Fill(Face::Plain, [](const QRectF& b) { return Word(b, QStringLiteral("Esc")); }),
    };
    QImage pad(kCell * 3, kCell * 7, QImage::Format_ARGB32);
    pad.fill(kGap);
    QPainter p(&pad);
    p.setRenderHint(QPainter::Antialiasing);
    for (int code = 0; code < 21; ++code)
        cells[code](p, QRectF((code % 3) * kCell, (code / 3) * kCell, kCell, kCell));
    return pad;
}

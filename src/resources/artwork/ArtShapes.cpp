#include "ArtShapes.h"

#include <QFont>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>
#include <QtMath>
#include <tuple>

namespace ArtShapes {

namespace {

const QColor kOutline(8, 16, 28);

// The unit vector from `a` to `b` and its normal.
std::pair<QPointF, QPointF> Axes(QPointF a, QPointF b) {
    const QLineF line(a, b);
    const QPointF along = (b - a) / line.length();
    return {along, QPointF(-along.y(), along.x())};
}

} // namespace

QPointF At(const QRectF& box, qreal fx, qreal fy) {
    return {box.left() + fx * box.width(), box.top() + fy * box.height()};
}

QRectF Part(const QRectF& box, qreal fx, qreal fy, qreal fw, qreal fh) {
    return {At(box, fx, fy), QSizeF(fw * box.width(), fh * box.height())};
}

QBrush Gradient(const QRectF& box, QColor top, QColor bottom) {
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

QPainterPath Triangle(QPointF tip, QPointF baseCentre, qreal baseWidth) {
    const auto [along, normal] = Axes(baseCentre, tip);
    Q_UNUSED(along);
    QPainterPath path;
    path.addPolygon(QPolygonF(
        {tip, baseCentre + normal * (baseWidth / 2), baseCentre - normal * (baseWidth / 2), tip}));
    path.closeSubpath();
    return path;
}

QPainterPath Arrow(QPointF tail, QPointF tip, qreal shaftWidth, qreal headWidth) {
    const auto [along, normal] = Axes(tail, tip);
    const QPointF neck = tip - along * (headWidth * 0.6);
    const QPointF s = normal * (shaftWidth / 2);
    const QPointF h = normal * (headWidth / 2);
    QPainterPath path;
    path.addPolygon(
        QPolygonF({tail + s, neck + s, neck + h, tip, neck - h, neck - s, tail - s, tail + s}));
    path.closeSubpath();
    return path;
}

QPainterPath Cross(const QRectF& box, qreal thickness) {
    QPainterPathStroker stroker;
    stroker.setWidth(thickness);
    stroker.setCapStyle(Qt::RoundCap);
    QPainterPath lines;
    lines.moveTo(box.topLeft());
    lines.lineTo(box.bottomRight());
    lines.moveTo(box.topRight());
    lines.lineTo(box.bottomLeft());
    return stroker.createStroke(lines).simplified();
}

QPainterPath Gear(const QRectF& box, int teeth) {
    const QPointF centre = box.center();
    const qreal outer = box.width() / 2;
    const qreal inner = outer * 0.74;
    const qreal step = 2 * M_PI / teeth;
    QPolygonF rim;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * step;
        // Each tooth narrows towards its tip; the gap between teeth sits on the inner circle.
        for (auto [angle, radius] : {std::pair{a - step * 0.30, inner},
                                     {a - step * 0.17, outer},
                                     {a + step * 0.17, outer},
                                     {a + step * 0.30, inner}})
            rim << centre + QPointF(qCos(angle), qSin(angle)) * radius;
    }
    rim << rim.first();
    QPainterPath path;
    path.addPolygon(rim);
    QPainterPath hole;
    hole.addEllipse(centre, outer * 0.3, outer * 0.3);
    return path.subtracted(hole);
}

QPainterPath MusicNotes(const QRectF& box) {
    QPainterPath path;
    // Two tilted note heads with stems rising from their right ends, joined by a beam.
    const qreal stem = 0.1;
    for (auto [hx, hy, top] : {std::tuple{0.27, 0.78, 0.2}, {0.75, 0.68, 0.1}}) {
        QPainterPath head;
        head.addEllipse(QPointF(0, 0), box.width() * 0.18, box.height() * 0.13);
        const QPointF centre = At(box, hx, hy);
        path.addPath(QTransform().translate(centre.x(), centre.y()).rotate(-25).map(head));
        path.addRect(Part(box, hx + 0.165 - stem, top, stem, hy - top));
    }
    QPolygonF beam(
        {At(box, 0.335, 0.2), At(box, 0.915, 0.1), At(box, 0.915, 0.27), At(box, 0.335, 0.37)});
    beam << beam.first();
    path.addPolygon(beam);
    return path.simplified();
}

QPainterPath Text(const QString& text, const QRectF& box) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(100);
    font.setBold(true);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    const qreal scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    return QTransform()
        .translate(box.center().x(), box.center().y())
        .scale(scale, scale)
        .translate(-bounds.center().x(), -bounds.center().y())
        .map(path);
}

void FillOutlined(QPainter& painter, const QPainterPath& path, const QBrush& brush, qreal outline) {
    painter.setBrush(brush);
    painter.setPen(outline > 0 ? QPen(kOutline, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                               : QPen(Qt::NoPen));
    painter.drawPath(path);
}

void FillRaised(QPainter& painter, const QPainterPath& path, QColor colour, qreal depth) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 110));
    painter.drawPath(path.translated(0, depth));
    painter.setBrush(colour);
    painter.drawPath(path);
}

void DrawFolder(QPainter& painter, const QRectF& box, bool open, qreal outline) {
    const qreal r = box.width() * 0.07;
    QPainterPath back;
    back.addRoundedRect(Part(box, 0, 0.14, 1, 0.86), r, r);
    QPainterPath tab;
    tab.addRoundedRect(Part(box, 0, 0, 0.44, 0.3), r, r);
    FillOutlined(painter, back.united(tab),
                 Gradient(box, QColor(214, 150, 36), QColor(170, 104, 16)), outline);
    QPainterPath front;
    if (open) {
        // The front falls forward: its top edge leans out to the right.
        QPolygonF flap(
            {At(box, 0.2, 0.4), At(box, 1.0, 0.4), At(box, 0.86, 1.0), At(box, 0.0, 1.0)});
        flap << flap.first();
        front.addPolygon(flap);
    } else {
        front.addRoundedRect(Part(box, 0, 0.32, 1, 0.68), r, r);
    }
    FillOutlined(painter, front, Gradient(box, QColor(255, 222, 110), QColor(246, 184, 48)),
                 outline);
}

void DrawMark(QPainter& painter, const QRectF& box) {
    const QPointF c = box.center();
    const qreal w = box.width();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    // The turning arrow: an arc that leaves a gap at the top right, ending in a head.
    const qreal ring = w * 0.385;
    const qreal band = w * 0.08;
    QPainterPath arc;
    const QRectF ringBox(c - QPointF(ring, ring), c + QPointF(ring, ring));
    arc.arcMoveTo(ringBox, 62);
    arc.arcTo(ringBox, 62, 268);
    QPainterPathStroker stroker;
    stroker.setWidth(band);
    stroker.setCapStyle(Qt::FlatCap);
    QPainterPath ringPath = stroker.createStroke(arc);
    const qreal endAngle = qDegreesToRadians(62.0 + 268.0);
    const QPointF end = c + QPointF(qCos(endAngle), -qSin(endAngle)) * ring;
    // The head points along the arc, counter-clockwise.
    const QPointF direction(-qSin(endAngle), -qCos(endAngle));
    ringPath.addPath(
        Triangle(end + direction * band * 1.6, end - direction * band * 0.1, band * 2.4));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Gradient(box, QColor(255, 184, 64), QColor(236, 112, 24)));
    painter.drawPath(ringPath.simplified());

    // The disc and its play triangle.
    const qreal disc = w * 0.285;
    QRadialGradient light(c - QPointF(disc * 0.4, disc * 0.5), disc * 1.6);
    light.setColorAt(0, QColor(72, 190, 255));
    light.setColorAt(1, QColor(18, 72, 184));
    painter.setBrush(light);
    painter.drawEllipse(c, disc, disc);
    painter.setBrush(QColor(250, 252, 255));
    painter.drawPath(
        Triangle(c + QPointF(disc * 0.62, 0), c - QPointF(disc * 0.38, 0), disc * 1.1));
    painter.restore();
}

} // namespace ArtShapes

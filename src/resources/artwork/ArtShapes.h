#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// Shapes shared by the list icons, the title buttons, the logo and the pad. Every shape is built
// inside a box, so one drawing serves every size.
namespace ArtShapes {

// A filled triangle with its tip at `tip` and its base centred on `baseCentre`.
QPainterPath Triangle(QPointF tip, QPointF baseCentre, qreal baseWidth);
// An arrow from `tail` to `tip`: a shaft of `shaftWidth` and a head of `headWidth`.
QPainterPath Arrow(QPointF tail, QPointF tip, qreal shaftWidth, qreal headWidth);
// A diagonal cross filling `box`, with strokes `thickness` wide.
QPainterPath Cross(const QRectF& box, qreal thickness);
// A toothed wheel with a hole, filling `box`.
QPainterPath Gear(const QRectF& box, int teeth);
// Two beamed eighth notes filling `box`.
QPainterPath MusicNotes(const QRectF& box);
// `text` in a bold sans-serif face, scaled to fit `box` and centred in it.
QPainterPath Text(const QString& text, const QRectF& box);

// The point at fractions (fx, fy) of `box`.
QPointF At(const QRectF& box, qreal fx, qreal fy);
// A rectangle given by fractions of `box`.
QRectF Part(const QRectF& box, qreal fx, qreal fy, qreal fw, qreal fh);
// A vertical gradient from `top` to `bottom` over `box`.
QBrush Gradient(const QRectF& box, QColor top, QColor bottom);

// Fills `path` with `brush` and draws a dark outline `outline` wide around it (none at 0).
void FillOutlined(QPainter& painter, const QPainterPath& path, const QBrush& brush, qreal outline);
// Fills `path` with `colour` over a soft drop shadow `depth` below it.
void FillRaised(QPainter& painter, const QPainterPath& path, QColor colour, qreal depth);

// A folder: back with a tab and a front, closed or opened.
void DrawFolder(QPainter& painter, const QRectF& box, bool open, qreal outline);
// The application's mark: a blue disc with a white play triangle, circled by an orange
// turning arrow (playback that comes back to where it stopped).
void DrawMark(QPainter& painter, const QRectF& box);

} // namespace ArtShapes

#include "ArtShapes.h"
#include "Artwork.h"

#include <QPainter>
#include <functional>

using namespace ArtShapes;

namespace {

const QColor kMask(100, 100, 100);
// The rows the icons sit on: half-covered edge pixels are blended with this colour.
const QColor kRowBackground(0, 32, 64);

enum class Badge { None, Resume, Missing };

void DrawDrive(QPainter& p, const QRectF& box, qreal outline) {
    const QRectF body = Part(box, 0.04, 0.26, 0.92, 0.5);
    QPainterPath path;
    path.addRoundedRect(body, box.width() * 0.09, box.width() * 0.09);
    FillOutlined(p, path, Gradient(body, QColor(226, 232, 242), QColor(146, 156, 174)), outline);
    p.setPen(QPen(QColor(84, 94, 112), std::max<qreal>(1, box.width() * 0.05)));
    p.drawLine(At(box, 0.14, 0.56), At(box, 0.6, 0.56));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 235, 110));
    p.drawEllipse(At(box, 0.8, 0.56), box.width() * 0.075, box.width() * 0.075);
}

// A media file: a tile with a symbol; grey when the file is missing.
void DrawMediaTile(QPainter& p, const QRectF& box, bool audio, bool missing, qreal outline) {
    const QRectF tile = Part(box, 0.08, 0.04, 0.84, 0.92);
    QPainterPath path;
    path.addRoundedRect(tile, box.width() * 0.14, box.width() * 0.14);
    const QColor top = missing ? QColor(150, 154, 162)
                       : audio ? QColor(64, 214, 160)
                               : QColor(84, 164, 255);
    const QColor bottom = missing ? QColor(116, 120, 130)
                          : audio ? QColor(20, 150, 104)
                                  : QColor(32, 104, 214);
    FillOutlined(p, path, Gradient(tile, top, bottom), outline);
    p.setPen(Qt::NoPen);
    p.setBrush(missing ? QColor(214, 216, 222) : QColor(255, 255, 255));
    if (audio)
        p.drawPath(MusicNotes(Part(box, 0.24, 0.2, 0.52, 0.6)));
    else
        p.drawPath(Triangle(At(box, 0.74, 0.5), At(box, 0.32, 0.5), box.height() * 0.5));
}

void DrawBadge(QPainter& p, const QRectF& box, Badge badge, qreal outline) {
    if (badge == Badge::None)
        return;
    const QPointF centre = At(box, 0.72, 0.72);
    const qreal radius = box.width() * 0.27;
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    const bool resume = badge == Badge::Resume;
    FillOutlined(p, disc, resume ? QColor(255, 160, 32) : QColor(226, 36, 36), outline);
    const qreal stroke = std::max<qreal>(1.2, box.width() * 0.075);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (resume) {
        // Clock hands: a stored position.
        p.drawPolyline(QPolygonF({centre + QPointF(0, -radius * 0.6), centre,
                                  centre + QPointF(radius * 0.45, radius * 0.2)}));
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        const qreal r = radius * 0.48;
        p.drawPath(Cross(QRectF(centre - QPointF(r, r), centre + QPointF(r, r)), stroke));
    }
}

// Paints one icon on a transparent square, then flattens it onto the mask colour: nearly
// transparent pixels become the mask, the rest are blended with the row background.
QImage Flatten(const QImage& icon) {
    QImage out(icon.size(), QImage::Format_RGB32);
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QColor c = icon.pixelColor(x, y);
            if (c.alpha() < 64) {
                out.setPixelColor(x, y, kMask);
                continue;
            }
            const qreal a = c.alphaF();
            auto mix = [a](int fg, int bg) { return qRound(fg * a + bg * (1 - a)); };
            QColor flat(mix(c.red(), kRowBackground.red()), mix(c.green(), kRowBackground.green()),
                        mix(c.blue(), kRowBackground.blue()));
            if (flat == kMask)
                flat.setRed(101); // never the mask colour by accident
            out.setPixelColor(x, y, flat);
        }
    }
    return out;
}

QImage PaintIcon(int size, const std::function<void(QPainter&, const QRectF&, qreal)>& draw) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal outline = std::max<qreal>(1, size / 20.0);
    draw(p, QRectF(0, 0, size, size).adjusted(outline, outline, -outline, -outline), outline);
    p.end();
    return Flatten(icon.convertToFormat(QImage::Format_ARGB32));
}

} // namespace

QImage PaintListIcons(int size) {
    using Draw = std::function<void(QPainter&, const QRectF&, qreal)>;
    auto media = [](bool audio, Badge badge) -> Draw {
        return [audio, badge](QPainter& p, const QRectF& box, qreal outline) {
            DrawMediaTile(p, box, audio, badge == Badge::Missing, outline);
            DrawBadge(p, box, badge, outline);
        };
    };
    const Draw icons[] = {
        DrawDrive,
        [](QPainter& p, const QRectF& box, qreal outline) {
            DrawFolder(p, Part(box, 0, 0.1, 1, 0.8), false, outline);
        },
        media(false, Badge::None),
        media(false, Badge::Resume),
        media(false, Badge::Missing),
        media(true, Badge::None),
        media(true, Badge::Resume),
        media(true, Badge::Missing),
    };
    QImage strip(size * 8, size, QImage::Format_RGB32);
    QPainter p(&strip);
    for (int i = 0; i < 8; ++i)
        p.drawImage(i * size, 0, PaintIcon(size, icons[i]));
    return strip;
}

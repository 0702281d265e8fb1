#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdlib>
#include <functional>
#include <string>

// Reading drawn pictures back: counts, means and closeness of colours over an area.
namespace Pixels {

// The pixels of `area` (clipped to the image) for which `test` holds.
inline int Count(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test) {
    const QRect box = area.intersected(image.rect());
    int count = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}
inline int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
    return Count(image, area, [&colour](QColor c) { return c == colour; });
}
inline bool AllColour(const QImage& image, const QRect& area, const QColor& colour) {
    return CountColour(image, area, colour) == area.width() * area.height();
}
inline QColor Mean(const QImage& image, const QRect& area) {
    long r = 0, g = 0, b = 0;
    const long n = Count(image, area, [&](QColor c) {
        r += c.red();
        g += c.green();
        b += c.blue();
        return true;
    });
    return n == 0 ? QColor() : QColor(int(r / n), int(g / n), int(b / n));
}
// Every channel within `tolerance`: fonts and scalers smooth edges each their own way.
inline bool Near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}
inline std::string Text(const QColor& c) {
    return QStringLiteral("(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue()).toStdString();
}

} // namespace Pixels

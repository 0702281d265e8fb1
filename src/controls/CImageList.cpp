#include "controls/CImageList.h"

#include <QPainter>

namespace {

const QRgb kMask = qRgb(100, 100, 100);

} // namespace

bool CImageList::Load(const QString& resourcePath, int width) {
    m_Images.clear();
    m_Width = 0;
    QImage strip(resourcePath);
    if (strip.isNull() || width <= 0 || strip.width() < width)
        return false;
    strip = strip.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < strip.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x) {
            if ((line[x] & RGB_MASK) == (kMask & RGB_MASK))
                line[x] = 0;
        }
    }
    // Premultiplied images draw fastest, and rows are drawn often.
    strip = strip.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x + width <= strip.width(); x += width)
        m_Images.push_back(strip.copy(x, 0, width, strip.height()));
    m_Width = width;
    return true;
}

void CImageList::Draw(QPainter& painter, int index, QPoint topLeft) const {
    if (index < 0 || index >= Count())
        return;
    painter.drawImage(topLeft, m_Images[static_cast<size_t>(index)]);
}

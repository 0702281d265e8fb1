#pragma once

#include <QImage>
#include <QString>
#include <vector>

class QPainter;
class QPoint;

// A strip of square icons cut into images of one width. Pixels of the mask colour
// RGB(100, 100, 100) are transparent.
class CImageList {
public:
    // Loads the strip and cuts it into images `width` pixels wide (as many as fit whole). False,
    // with the list left empty, when the picture cannot be read or holds no whole image.
    bool Load(const QString& resourcePath, int width);
    int ImageWidth() const { return m_Width; }
    int Count() const { return static_cast<int>(m_Images.size()); }
    // Draws image `index` with its top-left corner at `topLeft`; nothing for an unknown index.
    void Draw(QPainter& painter, int index, QPoint topLeft) const;

private:
    std::vector<QImage> m_Images;
    int m_Width = 0;
};

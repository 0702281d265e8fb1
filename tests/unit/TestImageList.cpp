#include "controls/CImageList.h"
#include "settings/SettingKeys.h"
#include "view/TitleGeometry.h"

#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QColor kMask(100, 100, 100);

// A strip of square icons of side `side`, each filled with its colour, with the top-left pixel
// of every icon in the mask colour.
QString WriteStrip(const QTemporaryDir& dir, int side, const std::vector<QColor>& colours,
                   int extraWidth = 0) {
    QImage strip(side * static_cast<int>(colours.size()) + extraWidth, side, QImage::Format_RGB32);
    strip.fill(Qt::black);
    for (size_t i = 0; i < colours.size(); ++i) {
        const int left = static_cast<int>(i) * side;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                strip.setPixelColor(left + x, y, colours[i]);
        strip.setPixelColor(left, 0, kMask);
    }
    const QString path = dir.filePath(QStringLiteral("strip.png"));
    strip.save(path);
    return path;
}

QImage DrawOnGreen(const CImageList& images, int index) {
    QImage canvas(8, 8, QImage::Format_RGB32);
    canvas.fill(Qt::green);
    QPainter painter(&canvas);
    images.Draw(painter, index, QPoint(2, 2));
    return canvas;
}

} // namespace

TEST(ImageList, CutsTheStripAndMakesTheMaskTransparent) {
    QTemporaryDir dir;
    CImageList images;
    ASSERT_TRUE(images.Load(WriteStrip(dir, 4, {Qt::red, Qt::blue}), 4));
    EXPECT_EQ(images.Count(), 2);
    EXPECT_EQ(images.ImageWidth(), 4);

    const QImage first = DrawOnGreen(images, 0);
    EXPECT_EQ(first.pixelColor(2, 2), QColor(Qt::green)) << "mask pixel shows what lies below";
    EXPECT_EQ(first.pixelColor(3, 2), QColor(Qt::red));
    EXPECT_EQ(first.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(first.pixelColor(6, 6), QColor(Qt::green)) << "drawn at its own size";
    EXPECT_EQ(DrawOnGreen(images, 1).pixelColor(4, 4), QColor(Qt::blue));
}

TEST(ImageList, UnknownIndexDrawsNothing) {
    QTemporaryDir dir;
    CImageList images;
    ASSERT_TRUE(images.Load(WriteStrip(dir, 4, {Qt::red}), 4));
    for (int index : {-1, 1, 8}) {
        const QImage canvas = DrawOnGreen(images, index);
        EXPECT_EQ(canvas.pixelColor(4, 4), QColor(Qt::green)) << index;
    }
}

TEST(ImageList, KeepsOnlyWholeImages) {
    QTemporaryDir dir;
    CImageList images;
    ASSERT_TRUE(images.Load(WriteStrip(dir, 4, {Qt::red, Qt::blue}, 3), 4));
    EXPECT_EQ(images.Count(), 2);
}

TEST(ImageList, RefusesWhatItCannotCut) {
    QTemporaryDir dir;
    const QString strip = WriteStrip(dir, 4, {Qt::red, Qt::blue});
    struct Case {
        QString path;
        int width;
    } cases[] = {
        {dir.filePath(QStringLiteral("missing.png")), 4},
        {strip, 0},
        {strip, -4},
        {strip, 9},
    };
    for (const Case& c : cases) {
        CImageList images;
        EXPECT_FALSE(images.Load(c.path, c.width)) << c.path.toStdString() << " " << c.width;
        EXPECT_EQ(images.Count(), 0);
        EXPECT_EQ(images.ImageWidth(), 0);
    }
}

TEST(ImageList, FailedLoadEmptiesAListThatHeldImages) {
    QTemporaryDir dir;
    CImageList images;
    ASSERT_TRUE(images.Load(WriteStrip(dir, 4, {Qt::red}), 4));
    EXPECT_FALSE(images.Load(dir.filePath(QStringLiteral("missing.png")), 4));
    EXPECT_EQ(images.Count(), 0);
}

TEST(ImageList, LoadsEveryEmbeddedIconStrip) {
    for (int step = 0; step < kFontSizeSteps; ++step) {
        const int size = TitleGeometry::SizeStepFor(step).iconSize;
        CImageList images;
        ASSERT_TRUE(images.Load(QStringLiteral(":/artwork/icons%1.png").arg(size), size)) << size;
        EXPECT_EQ(images.Count(), 8) << size;
        EXPECT_EQ(images.ImageWidth(), size);
    }
}

// The embedded pictures have the sizes and the layout the program draws them with.
#include "settings/SettingKeys.h"
#include "support/Pixels.h"
#include "view/TitleGeometry.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

QImage Load(const char* name) {
    return QImage(QStringLiteral(":/artwork/") + name);
}

} // namespace

TEST(Artwork, PicturesHaveTheirSizes) {
    struct Case {
        const char* name;
        QSize size;
    } cases[] = {
        {"pad.png", {384, 896}},    {"buttons.png", {400, 80}}, {"logo.png", {256, 256}},
        {"icons20.png", {160, 20}}, {"icons28.png", {224, 28}}, {"icons40.png", {320, 40}},
        {"icons56.png", {448, 56}}, {"icons80.png", {640, 80}}, {"app16.png", {16, 16}},
        {"app32.png", {32, 32}},    {"app48.png", {48, 48}},    {"app64.png", {64, 64}},
        {"app128.png", {128, 128}}, {"app256.png", {256, 256}},
    };
    for (const Case& c : cases) {
        const QImage image = Load(c.name);
        ASSERT_FALSE(image.isNull()) << c.name;
        EXPECT_EQ(image.size(), c.size) << c.name;
    }
}

TEST(Artwork, EveryListIconHasMaskAroundAPicture) {
    const QColor mask(100, 100, 100);
    for (int step = 0; step < kFontSizeSteps; ++step) {
        const int size = TitleGeometry::SizeStepFor(step).iconSize;
        const QImage strip = Load(QStringLiteral("icons%1.png").arg(size).toLatin1().constData());
        for (int i = 0; i < 8; ++i) {
            const QRect icon(i * size, 0, size, size);
            const int masked = Pixels::CountColour(strip, icon, mask);
            EXPECT_GT(masked, 0) << size << " icon " << i;
            EXPECT_GT(size * size - masked, size * size / 3) << size << " icon " << i;
        }
    }
}

TEST(Artwork, PadCellsAreButtonsWithADarkGap) {
    const QImage pad = Load("pad.png");
    EXPECT_TRUE(pad.hasAlphaChannel());
    for (int code = 0; code < 21; ++code) {
        const QPoint corner((code % 3) * 128, (code / 3) * 128);
        const QColor gap = pad.pixelColor(corner + QPoint(1, 1));
        EXPECT_LT(gap.value(), 40) << code;
        // The button face differs from the gap and carries a picture of its own.
        const QRect face(corner + QPoint(20, 20), QSize(88, 88));
        const int bright = Pixels::Count(pad, face, [](QColor c) { return c.value() > 150; });
        EXPECT_GT(bright, 100) << "cell " << code << " shows a symbol";
    }
}

TEST(Artwork, TitleButtonsAreOpaque) {
    const QImage buttons = Load("buttons.png");
    EXPECT_FALSE(buttons.hasAlphaChannel());
    // Exit is a red button.
    const QColor exit = buttons.pixelColor(4 * 80 + 12, 40);
    EXPECT_GT(exit.red(), 2 * exit.green());
}

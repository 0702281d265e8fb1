// Paints Ravolo's artwork into PNG files in the folder given as the only argument.
#include "Artwork.h"

#include <QDir>
#include <QGuiApplication>

namespace {

bool Save(const QString& dir, const QString& name, const QImage& image) {
    return !image.isNull() && image.save(QDir(dir).filePath(name));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok = Save(dir, QStringLiteral("pad.png"), PaintPad()) &&
              Save(dir, QStringLiteral("buttons.png"), PaintTitleButtons()) &&
              Save(dir, QStringLiteral("logo.png"), PaintLogo());
    for (int size : {20, 28, 40, 56, 80})
        ok = ok && Save(dir, QStringLiteral("icons%1.png").arg(size), PaintListIcons(size));
    for (int size : {16, 32, 48, 64, 128, 256})
        ok = ok && Save(dir, QStringLiteral("app%1.png").arg(size), PaintAppIcon(size));
    return ok ? 0 : 1;
}

// Paints Ravolo's artwork into PNG files. Placeholder shapes until the real pictures land.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

bool Save(const QString& dir, const char* name, int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(QColor(100, 100, 100));
    return image.save(QDir(dir).filePath(QString::fromLatin1(name)));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok = Save(dir, "pad.png", 384, 896) && Save(dir, "buttons.png", 400, 80) &&
              Save(dir, "logo.png", 256, 256);
    for (int size : {20, 28, 40, 56, 80})
        ok = ok && Save(dir, QStringLiteral("icons%1.png").arg(size).toLatin1().constData(),
                        size * 8, size);
    for (int size : {16, 32, 48, 64, 128, 256})
        ok = ok && Save(dir, QStringLiteral("app%1.png").arg(size).toLatin1().constData(), size,
                        size);
    return ok ? 0 : 1;
}

#include "dialogs/DialogLook.h"

#include <QStringList>

namespace DialogLook {

QFont Font(int pointSize) {
    QFont font;
    // The first is a dependency of the package; the others serve where it is missing.
    font.setFamilies(QStringList{QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAexGothic"),
                                 QStringLiteral("VL Gothic"), QStringLiteral("Sans Serif")});
    font.setPointSize(pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QSize Pixels(int dluWidth, int dluHeight) {
    return {(dluWidth * 6 + 2) / 4, (dluHeight * 13 + 4) / 8};
}

} // namespace DialogLook

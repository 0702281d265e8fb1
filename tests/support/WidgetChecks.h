#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QStringList>
#include <QWidget>

// The texts of a shown window's labels and buttons that are narrower than their text needs:
// Japanese captions in a font wider than the one the layout was drawn for get cut otherwise.
inline QStringList ClippedTexts(const QWidget& window) {
    QStringList clipped;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->isVisible() && label->width() < label->sizeHint().width())
            clipped << label->text();
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->isVisible() && !button->text().isEmpty() &&
            button->width() < button->sizeHint().width())
            clipped << button->text();
    }
    return clipped;
}

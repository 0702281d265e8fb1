#include "app/QtBeeper.h"

#include <QApplication>

void QtBeeper::Beep(BeepType) {
    QApplication::beep();
}

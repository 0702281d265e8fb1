#include "dialogs/CWaitDlg.h"

#include "dialogs/DialogLook.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

CWaitDlg::CWaitDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_Text(new QLabel(this)) {
    setWindowTitle(QStringLiteral("お待ちください"));
    setFont(DialogLook::Font(9));
    setModal(false);
    m_Text->setObjectName(QString::fromLatin1(kTextId));
    m_Text->setAlignment(Qt::AlignCenter);
    m_Text->setTextFormat(Qt::PlainText);
    setFixedSize(DialogLook::Pixels(223, 52));
    // The text fills the fixed size, centred, without a layout: a layout would measure the
    // text, loading its font, before the dialog could be shown.
    m_Text->setGeometry(rect());
}

void CWaitDlg::CenterAndShow() {
    // The frame's size is known only once the window has been shown, so centre again then.
    MoveToCentre();
    show();
    MoveToCentre();
}

void CWaitDlg::MoveToCentre() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area;
    if (owner && owner->isVisible() && !owner->isMinimized()) {
        area = owner->frameGeometry();
    } else if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    QRect box = frameGeometry();
    box.moveCenter(area.center());
    move(box.topLeft());
}

void CWaitDlg::showEvent(QShowEvent* event) {
    m_Text->setText(messageText);
    QDialog::showEvent(event);
}

void CWaitDlg::keyPressEvent(QKeyEvent* event) {
    // No buttons, so Enter would otherwise do nothing; treat it as Esc does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

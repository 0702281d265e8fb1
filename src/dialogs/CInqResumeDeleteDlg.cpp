#include "dialogs/CInqResumeDeleteDlg.h"

#include "dialogs/DialogLook.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

CInqResumeDeleteDlg::CInqResumeDeleteDlg(QWidget* parent)
    : QDialog(parent), m_Yes(new QPushButton(QStringLiteral("はい(&Y)"), this)),
      m_No(new QPushButton(QStringLiteral("いいえ(&N)"), this)) {
    setWindowTitle(QStringLiteral("Resume 削除"));
    setFont(DialogLook::Font(10));
    m_Yes->setObjectName(QStringLiteral("1"));
    m_No->setObjectName(QStringLiteral("2"));
    m_Yes->setDefault(true);
    // Large buttons: the dialog is answered from a sofa as often as from a desk.
    for (QPushButton* button : {m_Yes, m_No})
        button->setMinimumSize(DialogLook::Pixels(64, 38));
    connect(m_Yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_No, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Resume登録を削除しますか？"), this), 0, 0, 1, 2);
    layout->addWidget(m_Yes, 1, 0);
    layout->addWidget(m_No, 1, 1);
    m_Yes->setFocus();
}

void CInqResumeDeleteDlg::keyPressEvent(QKeyEvent* event) {
    // The mnemonics answer without Alt, as they do in a dialog whose focus is on a button.
    if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_Y) {
        m_Yes->click();
        return;
    }
    if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_N) {
        m_No->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

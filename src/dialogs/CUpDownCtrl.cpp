#include "dialogs/CUpDownCtrl.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

CUpDownCtrl::CUpDownCtrl(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_pBuddy(buddy), m_nMin(minimum), m_nMax(maximum),
      m_pUp(MakeButton(Qt::UpArrow, 1)), m_pDown(MakeButton(Qt::DownArrow, -1)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_pUp);
    layout->addWidget(m_pDown);
    m_pBuddy->installEventFilter(this);
}

QToolButton* CUpDownCtrl::MakeButton(Qt::ArrowType arrow, int delta) {
    auto* button = new QToolButton(this);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    connect(button, &QToolButton::clicked, this, [this, delta] { Step(delta); });
    return button;
}

void CUpDownCtrl::Step(int delta) {
    bool isNumber = false;
    // Wide enough that any digit run a person can type steps back into the range.
    const qlonglong current = m_pBuddy->text().toLongLong(&isNumber);
    const qlonglong next = isNumber ? current + delta : m_nMin;
    m_pBuddy->setText(QString::number(std::clamp<qlonglong>(next, m_nMin, m_nMax)));
}

bool CUpDownCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pBuddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

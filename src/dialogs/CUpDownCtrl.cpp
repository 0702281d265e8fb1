#include "dialogs/CUpDownCtrl.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

CUpDownCtrl::CUpDownCtrl(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_Buddy(buddy), m_Min(minimum), m_Max(maximum),
      m_Up(MakeButton(Qt::UpArrow, 1)), m_Down(MakeButton(Qt::DownArrow, -1)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_Up);
    layout->addWidget(m_Down);
    m_Buddy->installEventFilter(this);
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
    const qlonglong current = m_Buddy->text().toLongLong(&isNumber);
    const qlonglong next = isNumber ? current + delta : m_Min;
    m_Buddy->setText(QString::number(std::clamp<qlonglong>(next, m_Min, m_Max)));
}

bool CUpDownCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_Buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A pair of arrow buttons that step the integer in a buddy field within a range; Up and Down
// in the field step it too. The field itself may hold anything: checking it is the dialog's job.
class CUpDownCtrl : public QWidget {
    Q_OBJECT
public:
    CUpDownCtrl(QLineEdit* buddy, int minimum, int maximum, QWidget* parent = nullptr);

    // One step from the field's number, kept inside the range; a field without a number
    // starts from the minimum.
    void Step(int delta);

    QToolButton* UpButton() const { return m_Up; }
    QToolButton* DownButton() const { return m_Down; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* MakeButton(Qt::ArrowType arrow, int delta);

    QLineEdit* m_Buddy;
    int m_Min;
    int m_Max;
    QToolButton* m_Up;
    QToolButton* m_Down;
};

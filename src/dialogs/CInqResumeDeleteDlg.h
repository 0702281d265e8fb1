#pragma once

#include <QDialog>

class QPushButton;

// Asked before a resume entry is deleted: Accepted only for "はい(&Y)".
class CInqResumeDeleteDlg : public QDialog {
    Q_OBJECT
public:
    explicit CInqResumeDeleteDlg(QWidget* parent = nullptr);

    QPushButton* YesButton() const { return m_Yes; }
    QPushButton* NoButton() const { return m_No; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* m_Yes;
    QPushButton* m_No;
};

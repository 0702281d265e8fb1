#pragma once

#include <QDialog>
#include <QString>

class QLabel;

// The modeless notice shown while MPlayer prepares itself; the view hides it once MPlayer is
// ready. Enter and Esc dismiss it early, which changes nothing but the notice.
class CWaitDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTextId = "1013";

    explicit CWaitDlg(QWidget* parent = nullptr);

    // Put into the text each time the dialog is shown.
    QString messageText;

    // Centred on the parent's window, or on the screen while that window is not shown.
    void CenterAndShow();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void MoveToCentre();

    QLabel* m_Text;
};

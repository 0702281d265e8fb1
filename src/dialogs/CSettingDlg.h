#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class IPrompter;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QSlider;

// The settings command's dialog. The caller fills the value members, runs it, and after
// Accepted reads them back validated. Moving the pad-size slider posts WM_PAD_SIZE to the
// target at once; undoing that on Cancel is the caller's job.
class CSettingDlg : public QDialog {
    Q_OBJECT
public:
    CSettingDlg(IPrompter& prompter, QObject* padSizeTarget, QWidget* parent = nullptr);

    int normalFontSizeIndex = 2;
    int fullScreenFontSizeIndex = 4;
    int padSize = 20;
    QString videoExtensions;
    QString audioExtensions;
    bool noResumeForAudio = false;
    int skipForwardSec = 12;
    int skipBackSec = 12;
    int endCheckTimeoutMs = 2200;
    int mplayerPrepCycleTime = 2000;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A digits-only field bound to an integer member and its accepted range.
    struct NumberField {
        int CSettingDlg::*member;
        int minimum;
        int maximum;
        QLineEdit* edit;
    };
    // A text field bound to a string member with a length limit.
    struct TextField {
        QString CSettingDlg::*member;
        QLineEdit* edit;
    };

    void BuildLayout();
    QComboBox* AddSizeList(QGridLayout* grid, int row, const char* id, const QString& label);
    QWidget* BuildPadSizeBox();
    void AddNumberField(QGridLayout* grid, int row, int column, const char* id,
                        const char* upDownId, const QString& label, int CSettingDlg::*member,
                        int minimum, int maximum);
    void AddTextField(QGridLayout* grid, int row, const char* id, const QString& label,
                      QString CSettingDlg::*member);
    void AddButtons(QGridLayout* grid, int row);
    void ChainTabOrder();
    void LoadControls();
    // The first field that does not hold an acceptable value gets the message and the focus.
    bool ValidateControls();
    void StoreControls();
    void RejectField(QLineEdit* edit, const QString& message);
    void OnPadSizeMoved(int position);

    IPrompter& m_Prompter;
    QObject* m_pPadSizeTarget;
    QPushButton* m_pOk = nullptr;
    QPushButton* m_pCancel = nullptr;
    QComboBox* m_pNormalSize = nullptr;
    QComboBox* m_pFullSize = nullptr;
    QSlider* m_pPadSize = nullptr;
    QCheckBox* m_pNoResumeForAudio = nullptr;
    std::vector<TextField> m_TextFields;     // data-exchange order
    std::vector<NumberField> m_NumberFields; // data-exchange order
};

#pragma once

#include "settings/SettingKeys.h"
#include "settings/ViewSettings.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <vector>

class IPrompter;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QSlider;

// The settings command's dialog. The caller sets `values`, runs it, and after Accepted reads
// them back validated; only the fields the dialog shows change. Moving the pad-size slider posts
// WM_PAD_SIZE to the target at once; undoing that on Cancel is the caller's job.
class CSettingDlg : public QDialog {
    Q_OBJECT
public:
    CSettingDlg(IPrompter& prompter, QObject* padSizeTarget, QWidget* parent = nullptr);

    ViewSettings values;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Reads and writes one numeric member of the settings, whatever its integer type.
    struct NumberAccess {
        int64_t (*get)(const ViewSettings&);
        void (*set)(ViewSettings&, int64_t);
    };
    // A digits-only field bound to a numeric setting; its range is the setting's own.
    struct NumberField {
        const SettingDirective& directive;
        NumberAccess access;
        QLineEdit* edit;
    };
    // A text field bound to an extension list with a length limit.
    struct TextField {
        QString ViewSettings::*member;
        QLineEdit* edit;
    };

    void BuildLayout();
    QComboBox* AddSizeList(QGridLayout* grid, int row, const char* id, const QString& label);
    QWidget* BuildPadSizeBox();
    template <auto Member> static NumberAccess Access();
    void AddNumberField(QGridLayout* grid, int row, int column, const char* id,
                        const char* upDownId, const QString& label, SettingKey key,
                        NumberAccess access);
    void AddTextField(QGridLayout* grid, int row, const char* id, const QString& label,
                      QString ViewSettings::*member);
    void AddButtons(QGridLayout* grid, int row);
    void ChainTabOrder();
    void LoadControls();
    // The first field that does not hold an acceptable value gets the message and the focus.
    bool ValidateControls();
    void StoreControls();
    void RejectField(QLineEdit* edit, const QString& message);
    void OnPadSizeMoved(int position);

    IPrompter& m_Prompter;
    QObject* m_PadSizeTarget;
    QPushButton* m_Ok = nullptr;
    QPushButton* m_Cancel = nullptr;
    QComboBox* m_NormalSize = nullptr;
    QComboBox* m_FullSize = nullptr;
    QSlider* m_PadSize = nullptr;
    QCheckBox* m_NoResumeForAudio = nullptr;
    std::vector<TextField> m_TextFields;     // data-exchange order
    std::vector<NumberField> m_NumberFields; // data-exchange order
};

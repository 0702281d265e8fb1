#pragma once

#include "platform/IPrompter.h"

#include <QDialog>
#include <QPointer>

class QWidget;

// The prompts as real dialogs, modal over the given parent.
class QtPrompter : public IPrompter {
public:
    explicit QtPrompter(QWidget* parent);

    void ShowMessage(const QString& text, MessageIcon icon) override;
    bool AskRetry(const QString& text) override;
    bool ConfirmResumeDelete() override;
    QString ChooseExecutable(const QString& initialDir, const QString& initialName) override;

    // The program is ending and must not wait on anyone: the prompt open now is cancelled, and
    // every later one answers at once as a person cancelling would.
    void Dismiss();

    // The chooser's two filters: executables only, and every file.
    static const QString kExecutablesFilter;
    static const QString kAllFilesFilter;

private:
    int Exec(QDialog& dialog);
    int RunBox(const QString& text, MessageIcon icon, int buttons);

    QWidget* m_Parent;
    QPointer<QDialog> m_Open;
    bool m_Dismissed = false;
};

#pragma once

#include "platform/IPrompter.h"

class QWidget;

// The prompts as real dialogs, modal over the given parent.
class QtPrompter : public IPrompter {
public:
    explicit QtPrompter(QWidget* parent);

    void ShowMessage(const QString& text, MessageIcon icon) override;
    bool AskRetry(const QString& text) override;
    bool ConfirmResumeDelete() override;
    QString ChooseExecutable(const QString& initialDir, const QString& initialName) override;

    // The chooser's two filters: executables only, and every file.
    static const QString kExecutablesFilter;
    static const QString kAllFilesFilter;

private:
    QWidget* m_pParent;
};

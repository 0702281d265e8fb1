#pragma once

#include <QString>

enum class MessageIcon { None, Stop, Warning, Information };

// Every place where the program waits on a person goes through here, so tests can answer.
class IPrompter {
public:
    virtual ~IPrompter() = default;
    // A message with an OK button only.
    virtual void ShowMessage(const QString& text, MessageIcon icon) = 0;
    // Retry and Cancel; true for Retry.
    virtual bool AskRetry(const QString& text) = 0;
    // The resume-delete confirmation; true only for "はい(&Y)".
    virtual bool ConfirmResumeDelete() = 0;
    // The MPlayer chooser; the chosen file's full path, or "" when cancelled.
    virtual QString ChooseExecutable(const QString& initialDir, const QString& initialName) = 0;
};

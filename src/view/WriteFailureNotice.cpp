#include "view/WriteFailureNotice.h"

#include "platform/IPrompter.h"
#include "settings/SettingsStore.h"

void WriteFailureNotice::Report(bool written) {
    if (written || m_ProfileWriteFailed) {
        m_ProfileWriteFailed = !written;
        return;
    }
    m_ProfileWriteFailed = true;
    m_Prompter.ShowMessage(QStringLiteral("設定ファイルに書き込めませんでした。\n") +
                               m_Settings.Path(),
                           MessageIcon::Warning);
}

#include "dialogs/QtPrompter.h"

#include "dialogs/CInqResumeDeleteDlg.h"
#include "dialogs/DialogLook.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace {

const QString kCaption = QStringLiteral("Ravolo");

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

const QString QtPrompter::kExecutablesFilter = QStringLiteral("Executable Files (*)");
const QString QtPrompter::kAllFilesFilter = QStringLiteral("All Files (*)");

QtPrompter::QtPrompter(QWidget* parent) : m_Parent(parent) {}

void QtPrompter::Dismiss() {
    m_Dismissed = true;
    if (m_Open)
        m_Open->reject();
}

// Rejected, without showing anything, once dismissed.
int QtPrompter::Exec(QDialog& dialog) {
    if (m_Dismissed)
        return QDialog::Rejected;
    m_Open = &dialog;
    const int result = dialog.exec();
    m_Open = nullptr;
    return result;
}

int QtPrompter::RunBox(const QString& text, MessageIcon icon, int buttons) {
    QMessageBox box(BoxIcon(icon), kCaption, text, QMessageBox::StandardButtons(buttons), m_Parent);
    box.setFont(DialogLook::Font(9));
    box.setTextFormat(Qt::PlainText);
    return Exec(box);
}

void QtPrompter::ShowMessage(const QString& text, MessageIcon icon) {
    RunBox(text, icon, QMessageBox::Ok);
}

bool QtPrompter::AskRetry(const QString& text) {
    return RunBox(text, MessageIcon::Warning, QMessageBox::Retry | QMessageBox::Cancel) ==
           QMessageBox::Retry;
}

bool QtPrompter::ConfirmResumeDelete() {
    CInqResumeDeleteDlg dialog(m_Parent);
    return Exec(dialog) == QDialog::Accepted;
}

QString QtPrompter::ChooseExecutable(const QString& initialDir, const QString& initialName) {
    QFileDialog dialog(m_Parent);
    // Qt's own dialog: a platform one would ignore the executables filter below.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({kExecutablesFilter, kAllFilesFilter});
    // Executables have no extension here, so the first filter works on the permission bits.
    const QDir::Filters common = QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot;
    dialog.setFilter(common | QDir::Executable);
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog, common](const QString& filter) {
            dialog.setFilter(filter == kExecutablesFilter ? common | QDir::Executable : common);
        });
    if (!initialDir.isEmpty())
        dialog.setDirectory(initialDir);
    dialog.selectFile(initialName);
    if (Exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

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

int RunBox(QWidget* parent, const QString& text, QMessageBox::Icon icon,
           QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, kCaption, text, buttons, parent);
    box.setFont(DialogLook::Font(9));
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

} // namespace

const QString QtPrompter::kExecutablesFilter = QStringLiteral("Executable Files (*)");
const QString QtPrompter::kAllFilesFilter = QStringLiteral("All Files (*)");

QtPrompter::QtPrompter(QWidget* parent) : m_pParent(parent) {}

void QtPrompter::ShowMessage(const QString& text, MessageIcon icon) {
    RunBox(m_pParent, text, BoxIcon(icon), QMessageBox::Ok);
}

bool QtPrompter::AskRetry(const QString& text) {
    return RunBox(m_pParent, text, QMessageBox::Warning,
                  QMessageBox::Retry | QMessageBox::Cancel) == QMessageBox::Retry;
}

bool QtPrompter::ConfirmResumeDelete() {
    CInqResumeDeleteDlg dialog(m_pParent);
    return dialog.exec() == QDialog::Accepted;
}

QString QtPrompter::ChooseExecutable(const QString& initialDir, const QString& initialName) {
    QFileDialog dialog(m_pParent);
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

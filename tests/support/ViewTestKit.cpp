#include "support/ViewTestKit.h"

#include "controls/CColorListCtrl.h"
#include "platform/AppEvents.h"
#include "view/CRavoloView.h"

#include <QApplication>
#include <QKeyEvent>

namespace ViewTestKit {

int RowNamed(const CColorListCtrl& list, const QString& name) {
    for (int row = 0; row < list.RowCount(); ++row) {
        if (list.ItemText(row, 0) == name)
            return row;
    }
    return -1;
}

QString SelectedName(const CColorListCtrl& list) {
    const int row = list.SelectedRow();
    return row < 0 ? QString() : list.ItemText(row, 0);
}

bool SelectNamed(CColorListCtrl& list, const QString& name) {
    return list.SelectRow(RowNamed(list, name), true);
}

CColorListCtrl& VisibleList(CRavoloView& view) {
    return view.State().m_bResumeScreen ? view.ResumeListCtrl() : view.FolderList();
}

QList<QByteArray> QueuedCommands(CRavoloView& view) {
    QList<QByteArray> texts;
    for (const SlaveCommand& command : view.Engine().Queue().Pending())
        texts << (command.text.endsWith('\r') ? command.text.chopped(1) : command.text);
    return texts;
}

void PressKey(CRavoloView& view, int key, Qt::KeyboardModifiers modifiers, bool autoRepeat) {
    QWidget* target =
        view.Session().IsPlaying() ? static_cast<QWidget*>(&view) : &VisibleList(view);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString(), autoRepeat);
    QApplication::sendEvent(target, &release);
}

void SendPadCode(CRavoloView& view, int code) {
    QCoreApplication::postEvent(&view, new CAppEvent(WM_PAD_COMMAND, code));
    // Once for the code, once for a key it posts to the list.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
}

QString ResumeEntry(int packedKind, uint32_t positionSec, uint64_t fileSize, const QString& path) {
    return QStringLiteral("%1|%2|%3|%4").arg(packedKind).arg(positionSec).arg(fileSize).arg(path);
}

} // namespace ViewTestKit

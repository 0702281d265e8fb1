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

Input Pad(int code) {
    return {0, Qt::NoModifier, false, code};
}

std::string Describe(const Input& input) {
    if (input.pad != Input::kNoPad)
        return "pad code " + std::to_string(input.pad);
    return "key 0x" + QString::number(input.key, 16).toStdString() + " modifiers 0x" +
           QString::number(input.modifiers.toInt(), 16).toStdString() +
           (input.autoRepeat ? " repeated" : "");
}

void Deliver(CRavoloView& view, const Input& input) {
    if (input.pad != Input::kNoPad)
        SendPadCode(view, input.pad);
    else
        PressKey(view, input.key, input.modifiers, input.autoRepeat);
}

} // namespace ViewTestKit

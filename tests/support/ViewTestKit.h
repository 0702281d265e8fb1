#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <Qt>
#include <cstdint>

class CColorListCtrl;
class CRavoloView;

// Helpers for tests that drive the whole view: rows by name, the commands queued for MPlayer,
// and keys and pad codes delivered the way the desktop delivers them.
namespace ViewTestKit {

// The row whose first column reads `name`, or -1.
int RowNamed(const CColorListCtrl& list, const QString& name);
// The first column of the selected row, or "" without a selection.
QString SelectedName(const CColorListCtrl& list);
// Selects the row named `name`; false when there is none.
bool SelectNamed(CColorListCtrl& list, const QString& name);
// The list shown on the current list screen.
CColorListCtrl& VisibleList(CRavoloView& view);

// The commands waiting to be written to MPlayer, without their CR.
QList<QByteArray> QueuedCommands(CRavoloView& view);

// A key press and release for the widget that has the keyboard on the current screen: the
// visible list on the list screens (it forwards keys to the view), the view while playing.
void PressKey(CRavoloView& view, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              bool autoRepeat = false);
// Posts a pad code as the pad does and delivers the posted events (and the keys they post in
// turn) without running timers, so nothing queued is written meanwhile.
void SendPadCode(CRavoloView& view, int code);

// A stored resume entry: the packed kind (2 video file, 258 audio file), position, size, path.
QString ResumeEntry(int packedKind, uint32_t positionSec, uint64_t fileSize, const QString& path);

} // namespace ViewTestKit

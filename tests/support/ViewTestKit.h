#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <Qt>
#include <string>

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

inline constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
inline constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
inline constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
inline constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;

// A key, or a pad code.
struct Input {
    static constexpr int kNoPad = -100;
    int key = 0;
    Qt::KeyboardModifiers modifiers = kNone;
    bool autoRepeat = false;
    int pad = kNoPad;
};
Input Pad(int code);
std::string Describe(const Input& input);
// The key as PressKey or the code as SendPadCode delivers it.
void Deliver(CRavoloView& view, const Input& input);

} // namespace ViewTestKit

#pragma once

#include <QEvent>

// The application's own messages, posted to the view as Qt events with the numbers the rest of
// the program (and the pad and settings dialog) know them by.
enum AppEventNumber : int {
    WM_MP_BLANKLINE = 0x8001, // MPlayer wrote an empty line (CR LF or LF)
    WM_MP_TIMEPOS = 0x8002,   // ANS_TIME_POSITION=, value: whole seconds
    WM_MP_LENGTH = 0x8003,    // ANS_LENGTH=, value: whole seconds
    WM_PAD_COMMAND = 0x8004,  // the control pad released a cell, value: code 0..20
    WM_PAD_SIZE = 0x8005,     // the settings dialog moved the pad size, value: percent
    WM_MP_EXITED = 0x8006,    // MPlayer's output ended without our quit: it died; value: its launch
};

// One posted message with its single argument (the Windows wParam).
class CAppEvent : public QEvent {
public:
    CAppEvent(AppEventNumber number, long value)
        : QEvent(static_cast<QEvent::Type>(number)), m_Value(value) {}
    AppEventNumber Number() const { return static_cast<AppEventNumber>(type()); }
    long Value() const { return m_Value; }

private:
    long m_Value;
};

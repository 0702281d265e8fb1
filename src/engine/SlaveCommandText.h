#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// The command lines that carry an argument, formatted without regard to the user's locale.
class SlaveCommandText {
public:
    // "loadfile" with the path as UTF-8 between double quotes, `\` sent as `\\` and `"` as `\"`.
    // Nothing for a path MPlayer would misread: a control character would end the command early
    // (and let the rest run as commands of its own), a trailing backslash leaves the quote
    // unterminated (MPlayer 1.5 then aborts), and a line past MPlayer's buffer is dropped.
    static std::optional<QByteArray> LoadFile(const QString& path);

    // "speed_set" with percent / 100 to two decimals, right-aligned in six characters.
    static QByteArray SetSpeed(int percent);

    static QByteArray SeekRelative(int seconds);
    static QByteArray SeekAbsolute(uint32_t seconds);

    // The text's bytes as they are.
    static QByteArray ShowOsdText(const QByteArray& text);
};

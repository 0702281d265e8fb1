#pragma once

#include <QString>
#include <QStringList>

// Where MPlayer is: the stored "MPlayerPath"; when that is empty, "MPlayer32/mplayer" beside
// the program, else `mplayer` on the search path. The caller writes back what was found.
class PlayerLocator {
public:
    static inline const QString kBesideProgram = QStringLiteral("MPlayer32/mplayer");
    static inline const QString kProgramName = QStringLiteral("mplayer");

    // The path to launch: the stored one if set, else the first candidate that is an existing
    // file; empty when there is none. Empty searchPaths stand for the system's PATH.
    static QString Locate(const QString& storedPath, const QString& programDir,
                          const QStringList& searchPaths = {});

    // Locate with the program's own folder.
    static QString Locate(const QString& storedPath);

    // The path dialog opens in the folder of the current path (none when no path is set) ...
    static QString DialogFolder(const QString& currentPath);
    // ... with this file name filled in.
    static inline const QString kDialogFileName = kProgramName;
};

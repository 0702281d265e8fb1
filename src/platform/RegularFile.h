#pragma once

#include <QFileInfo>
#include <QString>

// A regular file, or a link to one. Only such a file is handed to MPlayer or opened for the
// readability check: opening a named pipe would wait for a writer, a folder cannot be played.
inline bool IsRegularFile(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

#pragma once

#include <QString>
#include <QTemporaryDir>

// A small memory file system of its own, mounted on a temporary folder (or on the existing
// folder `at`) while this object lives: a disk that can fill up, turn read-only or go away.
// Needs the right to mount (root); IsMounted() tells whether it worked.
class TmpfsMount {
public:
    explicit TmpfsMount(int sizeKb, const QString& at = QString());
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool IsMounted() const { return m_bMounted; }
    QString Path() const { return m_strPath; }
    bool SetReadOnly(bool readOnly);
    // Writes a ballast file until the file system is full.
    bool Fill();
    // Frees what Fill() took.
    bool Unfill();
    // Unmounts it now (lazily, so open files do not stop it), as a drive removed while listed.
    void Unmount();

private:
    QTemporaryDir m_Dir;
    QString m_strPath;
    int m_nSizeKb;
    bool m_bMounted = false;
};

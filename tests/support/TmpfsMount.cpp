#include "support/TmpfsMount.h"

#include <QFile>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

QByteArray Options(int sizeKb) {
    return "size=" + QByteArray::number(sizeKb) + "k,mode=0755";
}

} // namespace

TmpfsMount::TmpfsMount(int sizeKb, const QString& at)
    : m_strPath(at.isEmpty() ? m_Dir.path() : at), m_nSizeKb(sizeKb) {
    const QByteArray target = QFile::encodeName(m_strPath);
    m_bMounted = !m_strPath.isEmpty() &&
                 ::mount("tmpfs", target.constData(), "tmpfs", 0, Options(sizeKb).constData()) == 0;
}

TmpfsMount::~TmpfsMount() {
    Unmount();
}

bool TmpfsMount::SetReadOnly(bool readOnly) {
    const QByteArray target = QFile::encodeName(m_strPath);
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return m_bMounted && ::mount("tmpfs", target.constData(), "tmpfs", flags,
                                 Options(m_nSizeKb).constData()) == 0;
}

bool TmpfsMount::Fill() {
    const QByteArray path = QFile::encodeName(m_strPath + QStringLiteral("/.ballast"));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const QByteArray block(512, 'b');
    // Block by block down to the last free bytes.
    for (size_t size = static_cast<size_t>(block.size()); size > 0; size /= 2) {
        while (::write(fd, block.constData(), size) == static_cast<ssize_t>(size)) {
        }
    }
    ::close(fd);
    return true;
}

bool TmpfsMount::Unfill() {
    return QFile::remove(m_strPath + QStringLiteral("/.ballast"));
}

void TmpfsMount::Unmount() {
    if (m_bMounted)
        ::umount2(QFile::encodeName(m_strPath).constData(), MNT_DETACH);
    m_bMounted = false;
}

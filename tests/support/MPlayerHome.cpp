#include "support/MPlayerHome.h"

#include <QDir>
#include <QFile>

MPlayerHome::MPlayerHome() {
    QFile config(m_Dir.filePath(".mplayer/config"));
    m_bValid = m_Dir.isValid() && QDir(m_Dir.path()).mkpath(".mplayer") &&
               config.open(QIODevice::WriteOnly) && config.write("vo=null\nao=null\n") > 0;
    config.close();
    m_Environment.Set("HOME", QFile::encodeName(m_Dir.path()));
}

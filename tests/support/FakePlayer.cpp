#include "support/FakePlayer.h"

#include <QFile>

FakePlayer::FakePlayer(const QByteArray& script) : m_strRecordPath(m_Dir.filePath("record.txt")) {
    m_Environment.Set("RAVOLO_FAKE_SCRIPT", script);
    m_Environment.Set("RAVOLO_FAKE_RECORD", QFile::encodeName(m_strRecordPath));
}

QString FakePlayer::Program() {
    return QStringLiteral(RAVOLO_FAKEPLAYER_PATH);
}

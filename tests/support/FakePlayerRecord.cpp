#include "support/FakePlayerRecord.h"

#include <QFile>

namespace {

QByteArray Unescape(const QByteArray& text) {
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            bytes += static_cast<char>(text.mid(i + 2, 2).toInt(nullptr, 16));
            i += 3;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

} // namespace

QList<FakeRecordEntry> FakePlayerRecord::Entries() const {
    QFile file(m_strPath);
    QList<FakeRecordEntry> entries;
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 3)
            entries.append({fields[0], fields[1].toLongLong(), Unescape(fields[2])});
    }
    return entries;
}

QList<FakeRecordEntry> FakePlayerRecord::EntriesOfKind(const QByteArray& kind) const {
    QList<FakeRecordEntry> entries = Entries();
    entries.removeIf([&](const FakeRecordEntry& entry) { return entry.kind != kind; });
    return entries;
}

QList<FakeRecordEntry> FakePlayerRecord::Commands() const {
    return EntriesOfKind("cmd");
}

QList<QByteArray> FakePlayerRecord::BytesOfKind(const QByteArray& kind) const {
    QList<QByteArray> texts;
    for (const FakeRecordEntry& entry : EntriesOfKind(kind))
        texts.append(entry.bytes);
    return texts;
}

QList<QByteArray> FakePlayerRecord::CommandTexts() const {
    return BytesOfKind("cmd");
}

QList<QByteArray> FakePlayerRecord::Arguments() const {
    return BytesOfKind("arg");
}

QList<QByteArray> FakePlayerRecord::InheritedFds() const {
    return BytesOfKind("fd");
}

QList<qint64> FakePlayerRecord::Pids() const {
    QList<qint64> pids;
    for (const QByteArray& pid : BytesOfKind("pid"))
        pids.append(pid.toLongLong());
    return pids;
}

QList<QByteArray> FakePlayerRecord::CommandTextsOfLaunch(int launch) const {
    QList<QByteArray> texts;
    int current = -1;
    for (const FakeRecordEntry& entry : Entries()) {
        if (entry.kind == "pid")
            ++current;
        else if (entry.kind == "cmd" && current == launch)
            texts.append(entry.bytes);
    }
    return texts;
}

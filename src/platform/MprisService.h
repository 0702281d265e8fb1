#pragma once

#include <QDBusConnection>
#include <QObject>

class IMprisTarget;
class MprisPlayerAdaptor;

// The program's MPRIS2 presence, so the desktop's media controls and media-key daemons can drive
// it. Registers at construction; without a bus, or with the name taken by another process of
// ours, it stays unregistered and does nothing.
class MprisService : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.ravolo";
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";

    MprisService(IMprisTarget& target, const QDBusConnection& connection,
                 QObject* parent = nullptr);
    ~MprisService() override;

    bool IsRegistered() const { return !m_ServiceName.isEmpty(); }
    // The bus name owned: kServiceName, or kServiceName.instance<pid> when that is taken.
    QString ServiceName() const { return m_ServiceName; }

    // Call when the playback status or the playing title may have changed.
    void NotifyChanged();

private:
    bool RegisterName();

    QDBusConnection m_Connection;
    MprisPlayerAdaptor* m_Player;
    QString m_ServiceName;
};

#pragma once

#include <QDBusAbstractAdaptor>
#include <QVariantMap>

class IMprisTarget;

// org.mpris.MediaPlayer2.Player: the transport requests, each turned into its media key.
// Play never pauses and Pause never resumes: each presses the play/pause key only in the state
// it would change the way its name says (Play when not playing, Pause while playing).
class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(bool CanControl READ CanControl)
    Q_PROPERTY(bool CanPlay READ CanControl)
    Q_PROPERTY(bool CanPause READ CanControl)
    Q_PROPERTY(bool CanGoNext READ CanControl)
    Q_PROPERTY(bool CanGoPrevious READ CanControl)
    Q_PROPERTY(bool CanSeek READ CanSeek)

public:
    static constexpr const char* kInterface = "org.mpris.MediaPlayer2.Player";

    MprisPlayerAdaptor(QObject* parent, IMprisTarget& target);

    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    bool CanControl() const { return true; }
    // Positions are the program's own business; clients must not offer a seek bar.
    bool CanSeek() const { return false; }

    // The properties whose values changed since the last call, for PropertiesChanged.
    QVariantMap TakeChangedProperties();

public slots:
    void PlayPause();
    void Play();
    void Pause();
    void Stop();
    void Next();
    void Previous();

private:
    IMprisTarget& m_Target;
    QString m_Status;
    QString m_Title;
    unsigned m_Track = 0; // counts the titles seen, so each new file gets its own track id
};

#include "platform/MprisPlayerAdaptor.h"

#include "platform/IMprisTarget.h"

#include <QDBusObjectPath>

namespace {

const QString kPlaying = QStringLiteral("Playing");

} // namespace

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* parent, IMprisTarget& target)
    : QDBusAbstractAdaptor(parent), m_Target(target), m_Status(target.PlaybackStatus()),
      m_Title(target.PlayingTitle()) {}

QString MprisPlayerAdaptor::PlaybackStatus() const {
    return m_Target.PlaybackStatus();
}

QVariantMap MprisPlayerAdaptor::Metadata() const {
    const QString title = m_Target.PlayingTitle();
    if (title.isEmpty()) {
        return {
            {QStringLiteral("mpris:trackid"),
             QVariant::fromValue(QDBusObjectPath("/org/mpris/MediaPlayer2/TrackList/NoTrack"))}};
    }
    const QString trackId = QStringLiteral("/org/mpris/MediaPlayer2/ravolo/track/%1").arg(m_Track);
    return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId))},
            {QStringLiteral("xesam:title"), title}};
}

QVariantMap MprisPlayerAdaptor::TakeChangedProperties() {
    QVariantMap changed;
    const QString status = m_Target.PlaybackStatus();
    if (status != m_Status) {
        m_Status = status;
        changed.insert(QStringLiteral("PlaybackStatus"), status);
    }
    const QString title = m_Target.PlayingTitle();
    if (title != m_Title) {
        m_Title = title;
        ++m_Track;
        changed.insert(QStringLiteral("Metadata"), Metadata());
    }
    return changed;
}

void MprisPlayerAdaptor::PlayPause() {
    m_Target.PerformMediaKey(Qt::Key_MediaTogglePlayPause);
}

void MprisPlayerAdaptor::Play() {
    if (m_Target.PlaybackStatus() != kPlaying)
        PlayPause();
}

void MprisPlayerAdaptor::Pause() {
    if (m_Target.PlaybackStatus() == kPlaying)
        PlayPause();
}

void MprisPlayerAdaptor::Stop() {
    m_Target.PerformMediaKey(Qt::Key_MediaStop);
}

void MprisPlayerAdaptor::Next() {
    m_Target.PerformMediaKey(Qt::Key_MediaNext);
}

void MprisPlayerAdaptor::Previous() {
    m_Target.PerformMediaKey(Qt::Key_MediaPrevious);
}

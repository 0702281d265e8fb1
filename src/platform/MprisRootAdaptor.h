#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>

class IMprisTarget;

// org.mpris.MediaPlayer2: who we are, and bringing the window to the front.
class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

public:
    MprisRootAdaptor(QObject* parent, IMprisTarget& target);

    QString Identity() const { return QStringLiteral("Ravolo"); }
    QString DesktopEntry() const { return QStringLiteral("ravolo"); }
    bool CanQuit() const { return false; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    // Nothing can be opened from outside: files are chosen on the program's own screens.
    QStringList SupportedUriSchemes() const { return {}; }
    QStringList SupportedMimeTypes() const { return {}; }

public slots:
    void Raise();
    // Required by the interface; CanQuit tells clients that it does nothing.
    void Quit() {}

private:
    IMprisTarget& m_Target;
};

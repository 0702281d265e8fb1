#include "platform/IMprisTarget.h"
#include "platform/MprisService.h"
#include "support/Patience.h"
#include "support/PrivateBus.h"
#include "support/RavoloProcess.h"
#include "support/TestMedia.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

class FakeTarget : public IMprisTarget {
public:
    void PerformMediaKey(int qtKey) override { m_Keys << qtKey; }
    QString PlaybackStatus() const override { return m_strStatus; }
    QString PlayingTitle() const override { return m_strTitle; }
    void Raise() override { ++m_nRaised; }

    QList<int> m_Keys;
    QString m_strStatus = QStringLiteral("Stopped");
    QString m_strTitle;
    int m_nRaised = 0;
};

// Collects PropertiesChanged as a client on the bus sees it.
class ChangeRecorder : public QObject {
    Q_OBJECT
public:
    struct Change {
        QString interface;
        QVariantMap changed;
    };
    QList<Change> m_Changes;

public slots:
    void OnChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
        m_Changes << Change{interface, changed};
    }
};

// D-Bus hands nested maps over as QDBusArgument; plain values come as they are.
QVariantMap ToMap(const QVariant& value) {
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value.toMap();
}

QString TrackId(const QVariantMap& metadata) {
    return metadata.value("mpris:trackid").value<QDBusObjectPath>().path();
}

// A session bus of our own, so the tests neither need nor disturb the user's.
class MprisServiceTest : public testing::Test {
protected:
    void SetUp() override {
        m_Daemon.start("dbus-daemon", {"--session", "--print-address", "--nofork"});
        ASSERT_TRUE(m_Daemon.waitForStarted(kPatienceMs));
        while (!m_Daemon.canReadLine())
            ASSERT_TRUE(m_Daemon.waitForReadyRead(kPatienceMs));
        m_strAddress = QString::fromUtf8(m_Daemon.readLine()).trimmed();
        m_Client = QDBusConnection::connectToBus(m_strAddress, "mpris-client");
        m_Bus = QDBusConnection::connectToBus(m_strAddress, "mpris-service");
        ASSERT_TRUE(m_Client.isConnected());
        ASSERT_TRUE(m_Bus.isConnected());
        m_Service = std::make_unique<MprisService>(m_Target, m_Bus);
        ASSERT_TRUE(m_Service->IsRegistered());
    }

    void TearDown() override {
        m_Service.reset();
        QDBusConnection::disconnectFromBus("mpris-client");
        QDBusConnection::disconnectFromBus("mpris-service");
        m_Daemon.kill();
        m_Daemon.waitForFinished(5000);
    }

    // Event processing while waiting lets the service, on this thread, answer.
    QDBusMessage Call(const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(MprisService::kServiceName, kPath, interface, method);
        call.setArguments(arguments);
        return m_Client.call(call, QDBus::BlockWithGui, 5000);
    }

    QVariant Property(const QString& interface, const QString& name) {
        const QDBusMessage reply = Call(kProperties, "Get", {interface, name});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        if (reply.arguments().isEmpty())
            return {};
        return reply.arguments().first().value<QDBusVariant>().variant();
    }

    QProcess m_Daemon;
    QString m_strAddress;
    QDBusConnection m_Client{QString()};
    QDBusConnection m_Bus{QString()};
    FakeTarget m_Target;
    std::unique_ptr<MprisService> m_Service;
};

TEST_F(MprisServiceTest, EveryRequestArrivesAsItsMediaKeyOnlyWhereItHasAMeaning) {
    const int toggle = Qt::Key_MediaTogglePlayPause;
    struct Row {
        const char* method;
        const char* status;
        QList<int> keys;
    };
    const Row rows[] = {
        {"PlayPause", "Stopped", {toggle}},
        {"PlayPause", "Playing", {toggle}},
        {"PlayPause", "Paused", {toggle}},
        {"Play", "Stopped", {toggle}},
        {"Play", "Paused", {toggle}},
        {"Play", "Playing", {}},
        {"Pause", "Playing", {toggle}},
        {"Pause", "Paused", {}},
        {"Pause", "Stopped", {}},
        {"Stop", "Playing", {Qt::Key_MediaStop}},
        {"Stop", "Stopped", {Qt::Key_MediaStop}},
        {"Next", "Playing", {Qt::Key_MediaNext}},
        {"Previous", "Playing", {Qt::Key_MediaPrevious}},
        {"Previous", "Stopped", {Qt::Key_MediaPrevious}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.method) + " while " + row.status);
        m_Target.m_Keys.clear();
        m_Target.m_strStatus = row.status;
        const QDBusMessage reply = Call(kPlayer, row.method);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        EXPECT_EQ(m_Target.m_Keys, row.keys);
    }
    EXPECT_EQ(m_Target.m_nRaised, 0);
}

TEST_F(MprisServiceTest, RaiseBringsTheProgramForwardAndQuitIsRefused) {
    EXPECT_EQ(Call(kRoot, "Raise").type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(m_Target.m_nRaised, 1);
    EXPECT_EQ(Call(kRoot, "Quit").type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(Property(kRoot, "CanQuit"), QVariant(false));
    EXPECT_TRUE(m_Target.m_Keys.isEmpty());
    EXPECT_EQ(m_Target.m_nRaised, 1);
    // Opening and seeking are not offered: a client asking gets an error, the program nothing.
    EXPECT_EQ(Call(kPlayer, "OpenUri", {"file:///tmp/a.mp4"}).type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(Call(kPlayer, "Seek", {qlonglong(10000000)}).type(), QDBusMessage::ErrorMessage);
    EXPECT_TRUE(m_Target.m_Keys.isEmpty());
}

TEST_F(MprisServiceTest, FixedPropertiesReadBack) {
    struct Row {
        const QString& interface;
        const char* name;
        QVariant value;
    };
    const Row rows[] = {
        {kRoot, "Identity", QString("Ravolo")},
        {kRoot, "DesktopEntry", QString("ravolo")},
        {kRoot, "CanRaise", true},
        {kRoot, "HasTrackList", false},
        {kRoot, "SupportedUriSchemes", QStringList()},
        {kRoot, "SupportedMimeTypes", QStringList()},
        {kPlayer, "CanControl", true},
        {kPlayer, "CanPlay", true},
        {kPlayer, "CanPause", true},
        {kPlayer, "CanGoNext", true},
        {kPlayer, "CanGoPrevious", true},
        {kPlayer, "CanSeek", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QVariant value = Property(row.interface, row.name);
        if (row.value.userType() == QMetaType::QStringList)
            value = qdbus_cast<QStringList>(value);
        EXPECT_EQ(value, row.value);
    }
}

TEST_F(MprisServiceTest, StatusAndMetadataFollowTheProgram) {
    for (const char* status : {"Playing", "Paused", "Stopped"}) {
        m_Target.m_strStatus = status;
        EXPECT_EQ(Property(kPlayer, "PlaybackStatus").toString(), status);
    }

    QVariantMap metadata = ToMap(Property(kPlayer, "Metadata"));
    EXPECT_EQ(TrackId(metadata), "/org/mpris/MediaPlayer2/TrackList/NoTrack");
    EXPECT_FALSE(metadata.contains("xesam:title"));

    m_Target.m_strTitle = QString::fromUtf8("映画 1.mp4");
    m_Service->NotifyChanged();
    metadata = ToMap(Property(kPlayer, "Metadata"));
    EXPECT_EQ(metadata.value("xesam:title").toString(), m_Target.m_strTitle);
    EXPECT_TRUE(TrackId(metadata).startsWith("/org/mpris/MediaPlayer2/ravolo/track/"));
}

TEST_F(MprisServiceTest, ChangesAreAnnouncedOnceEach) {
    ChangeRecorder recorder;
    ASSERT_TRUE(m_Client.connect(MprisService::kServiceName, kPath, kProperties,
                                 "PropertiesChanged", &recorder,
                                 SLOT(OnChanged(QString, QVariantMap, QStringList))));

    m_Target.m_strStatus = "Playing";
    m_Target.m_strTitle = "a.mp4";
    m_Service->NotifyChanged();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.m_Changes.size() == 1; }, kPatienceMs));
    const ChangeRecorder::Change first = recorder.m_Changes[0];
    EXPECT_EQ(first.interface, kPlayer);
    EXPECT_EQ(first.changed.value("PlaybackStatus").toString(), "Playing");
    const QVariantMap firstMetadata = ToMap(first.changed.value("Metadata"));
    EXPECT_EQ(firstMetadata.value("xesam:title").toString(), "a.mp4");

    // Nothing changed: nothing is sent, so the next signal carries only the new title.
    m_Service->NotifyChanged();
    m_Target.m_strTitle = "b.mp4";
    m_Service->NotifyChanged();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.m_Changes.size() >= 2; }, kPatienceMs));
    const ChangeRecorder::Change second = recorder.m_Changes[1];
    EXPECT_EQ(second.changed.keys(), QStringList{"Metadata"});
    const QVariantMap secondMetadata = ToMap(second.changed.value("Metadata"));
    EXPECT_EQ(secondMetadata.value("xesam:title").toString(), "b.mp4");
    EXPECT_NE(TrackId(secondMetadata), TrackId(firstMetadata));

    m_Target.m_strStatus = "Stopped";
    m_Target.m_strTitle.clear();
    m_Service->NotifyChanged();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.m_Changes.size() >= 3; }, kPatienceMs));
    const QVariantMap stopped = recorder.m_Changes[2].changed;
    EXPECT_EQ(stopped.value("PlaybackStatus").toString(), "Stopped");
    EXPECT_FALSE(ToMap(stopped.value("Metadata")).contains("xesam:title"));
    EXPECT_EQ(recorder.m_Changes.size(), 3);
}

TEST_F(MprisServiceTest, TheNameIsOwnedWhileTheServiceLivesAndASecondOneGetsItsOwn) {
    QDBusConnectionInterface* bus = m_Client.interface();
    EXPECT_TRUE(bus->isServiceRegistered(MprisService::kServiceName));
    {
        QDBusConnection secondBus = QDBusConnection::connectToBus(m_strAddress, "mpris-second");
        FakeTarget secondTarget;
        MprisService second(secondTarget, secondBus);
        ASSERT_TRUE(second.IsRegistered());
        EXPECT_EQ(second.ServiceName(), QStringLiteral("%1.instance%2")
                                            .arg(MprisService::kServiceName)
                                            .arg(QCoreApplication::applicationPid()));
        EXPECT_TRUE(bus->isServiceRegistered(second.ServiceName()));
    }
    QDBusConnection::disconnectFromBus("mpris-second");

    m_Service.reset();
    EXPECT_FALSE(bus->isServiceRegistered(MprisService::kServiceName));
}

TEST(MprisServiceWithoutBus, CreatingItDoesNothingHarmful) {
    FakeTarget target;
    target.m_strStatus = "Playing";
    MprisService service(target, QDBusConnection(QStringLiteral("no-such-bus")));
    EXPECT_FALSE(service.IsRegistered());
    EXPECT_TRUE(service.ServiceName().isEmpty());
    target.m_strTitle = "a.mp4";
    service.NotifyChanged();
    EXPECT_TRUE(target.m_Keys.isEmpty());
}

// playerctl, a client no one here wrote, drives the real program on a bus of the test's own.
class Playerctl {
public:
    explicit Playerctl(const QString& busAddress) {
        m_Env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
    }

    QString Run(const QStringList& arguments) const {
        QProcess playerctl;
        playerctl.setProcessEnvironment(m_Env);
        playerctl.start("playerctl", QStringList{"--player=ravolo"} + arguments);
        playerctl.waitForFinished(10000);
        return QString::fromUtf8(playerctl.readAllStandardOutput()).trimmed();
    }

    bool WaitForStatus(const QString& status) const {
        return QTest::qWaitFor([&] { return Run({"status"}) == status; }, 20000);
    }

private:
    QProcessEnvironment m_Env = QProcessEnvironment::systemEnvironment();
};

TEST(MprisWithPlayerctl, EveryCommandReachesTheRunningProgram) {
    if (QStandardPaths::findExecutable("playerctl").isEmpty())
        GTEST_SKIP() << "playerctl is not installed (scripts/setup installs it)";
    PrivateBus bus;
    ASSERT_TRUE(bus.IsRunning());
    RavoloProcess::Sandbox sandbox;
    sandbox.WriteMPlayerConfig("vo=null\nao=null\n");
    const QString videos = sandbox.Home() + "/Videos";
    const QString clip = videos + "/Series/clip.avi";
    ASSERT_TRUE(QDir().mkpath(videos + "/Series"));
    ASSERT_TRUE(TestMedia::MakeClip(clip, 60));
    // One skip forward goes past the end of the clip.
    sandbox.WriteSetting("SkipForwardSec", "600");
    RavoloProcess ravolo(sandbox);
    ravolo.UseSessionBus(bus.Address());
    ASSERT_TRUE(ravolo.Start({clip}));
    const Playerctl playerctl(bus.Address());

    ASSERT_TRUE(playerctl.WaitForStatus("Playing"));
    EXPECT_EQ(playerctl.Run({"metadata", "xesam:title"}), "clip.avi");
    playerctl.Run({"play-pause"});
    EXPECT_TRUE(playerctl.WaitForStatus("Paused"));
    playerctl.Run({"play-pause"});
    EXPECT_TRUE(playerctl.WaitForStatus("Playing"));
    // Stop stores the position.
    playerctl.Run({"stop"});
    EXPECT_TRUE(playerctl.WaitForStatus("Stopped"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return sandbox.ReadSetting("Resume0").endsWith("|" + clip); },
                                20000));
    // On the list, play starts the selected file again, and next skips it to its end.
    playerctl.Run({"play"});
    EXPECT_TRUE(playerctl.WaitForStatus("Playing"));
    playerctl.Run({"next"});
    EXPECT_TRUE(playerctl.WaitForStatus("Stopped"));
    // On the folder screen, previous goes up one folder.
    playerctl.Run({"previous"});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return sandbox.ReadSetting("CurrentFolder") == videos; }, 20000));
    ravolo.Terminate();
    EXPECT_TRUE(ravolo.WaitForExit(15000));
}

} // namespace

#include "TestMprisService.moc"

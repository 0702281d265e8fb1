#include "support/RavoloProcess.h"

#include "support/Patience.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kGroup = QStringLiteral("Settings/");

QProcessEnvironment SessionOn(const QString& display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (display.isEmpty()) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), display);
    }
    return env;
}

} // namespace

RavoloProcess::Sandbox::Sandbox()
    : user(::getuid()), m_strTempDir(root.filePath(QStringLiteral("tmp"))) {
    for (const QString& dir : {Home(), ConfigHome(), TempDir(), RuntimeDir()})
        QDir().mkpath(dir);
    // As a session's runtime folder is.
    QFile::setPermissions(RuntimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

RavoloProcess::Sandbox::Sandbox(const Sandbox& machine, uid_t owner) : Sandbox() {
    user = owner;
    m_strTempDir = machine.TempDir();
    for (const QString& dir : {machine.root.path(), root.path()})
        ::chmod(QFile::encodeName(dir).constData(), 0755);
    ::chmod(QFile::encodeName(TempDir()).constData(), 01777);
    for (const QString& dir : {Home(), ConfigHome(), RuntimeDir()})
        EXPECT_EQ(::chown(QFile::encodeName(dir).constData(), owner, owner), 0);
}

QString RavoloProcess::Sandbox::ProfilePath() const {
    return ConfigHome() + QStringLiteral("/Quendal/Ravolo.ini");
}

QString RavoloProcess::Sandbox::ChannelSocket() const {
    return RuntimeDir() + QStringLiteral("/Ravolo.2015.Quendal");
}

void RavoloProcess::Sandbox::WriteSetting(const QString& key, const QString& value) const {
    QSettings profile(ProfilePath(), QSettings::IniFormat);
    profile.setValue(kGroup + key, value);
    profile.sync();
}

QString RavoloProcess::Sandbox::ReadSetting(const QString& key) const {
    // A fresh reader each time: the program replaces the file as a whole.
    const QSettings profile(ProfilePath(), QSettings::IniFormat);
    return profile.value(kGroup + key).toString();
}

void RavoloProcess::Sandbox::WriteMPlayerConfig(const QString& contents) const {
    QDir().mkpath(Home() + QStringLiteral("/.mplayer"));
    QFile file(Home() + QStringLiteral("/.mplayer/config"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(contents.toUtf8());
}

RavoloProcess::RavoloProcess(const Sandbox& sandbox, const QString& display)
    : RavoloProcess(sandbox, SessionOn(display)) {}

RavoloProcess::RavoloProcess(const Sandbox& sandbox, const QProcessEnvironment& session)
    : m_Sandbox(sandbox) {
    QProcessEnvironment env = session;
    env.insert(QStringLiteral("HOME"), sandbox.Home());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), sandbox.ConfigHome());
    env.insert(QStringLiteral("TMPDIR"), sandbox.TempDir());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), sandbox.RuntimeDir());
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    m_Process.setProcessEnvironment(env);
    m_Process.setProcessChannelMode(QProcess::MergedChannels);
    // A group of its own, as a terminal gives a program it starts.
    const uid_t user = sandbox.user;
    const bool switchUser = user != ::getuid();
    m_Process.setChildProcessModifier([user, switchUser] {
        ::setpgid(0, 0);
        // The user's own group is the one of its number (nobody's, or one made by useradd).
        if (switchUser &&
            (::setgroups(0, nullptr) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0))
            ::_exit(127);
    });
}

RavoloProcess::~RavoloProcess() {
    if (IsRunning()) {
        m_Process.terminate();
        if (!m_Process.waitForFinished(8000))
            Kill();
    }
}

void RavoloProcess::UseSessionBus(const QString& address) {
    QProcessEnvironment env = m_Process.processEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    m_Process.setProcessEnvironment(env);
}

bool RavoloProcess::Start(const QStringList& arguments, const QString& program) {
    m_Process.start(program, arguments);
    return m_Process.waitForStarted(kPatienceMs);
}

bool RavoloProcess::WaitForExit(int timeoutMs) {
    return m_Process.state() == QProcess::NotRunning || m_Process.waitForFinished(timeoutMs);
}

bool RavoloProcess::WaitUntilPrimary(int timeoutMs) const {
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (QFile::exists(m_Sandbox.ChannelSocket()))
            return true;
        if (m_Process.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(20);
    }
    return false;
}

bool RavoloProcess::WaitUntilChildOpens(const QString& file, int timeoutMs) const {
    const QString proc = QStringLiteral("/proc/%1/").arg(Pid());
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QFile children(proc + QStringLiteral("task/%1/children").arg(Pid()));
        if (!children.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray& child : children.readAll().split(' ')) {
            const QString fds = QStringLiteral("/proc/%1/fd").arg(QString::fromLatin1(child));
            for (const QString& fd :
                 QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
                if (QFile::symLinkTarget(fds + QLatin1Char('/') + fd) == file)
                    return true;
        }
        QThread::msleep(20);
    }
    return false;
}

bool RavoloProcess::SignalGroup(int signal) const {
    return ::kill(-static_cast<pid_t>(Pid()), signal) == 0;
}

void RavoloProcess::Kill() {
    m_Process.kill();
    m_Process.waitForFinished(5000);
}

QByteArray RavoloProcess::Output() {
    return m_Process.readAll();
}

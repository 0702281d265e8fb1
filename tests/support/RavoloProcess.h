#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <sys/types.h>

// The real program in its own world: a temporary HOME, profile folder, temporary folder and
// runtime folder (so its instance lock and socket are its own), on the given display or the
// offscreen platform.
class RavoloProcess {
public:
    // Several processes may share one sandbox to meet each other's instance lock.
    struct Sandbox {
        Sandbox();
        // Another user's world on the same machine: home, profile and runtime folders of its
        // own, owned by user, and the temporary folder of machine, open to all as /tmp is.
        // Making them another user's needs root.
        Sandbox(const Sandbox& machine, uid_t user);
        QTemporaryDir root;
        uid_t user;
        QString Home() const { return root.filePath(QStringLiteral("home")); }
        QString ConfigHome() const { return root.filePath(QStringLiteral("config")); }
        QString TempDir() const { return m_strTempDir; }
        QString RuntimeDir() const { return root.filePath(QStringLiteral("run")); }
        QString ProfilePath() const;
        // The profile group "Settings", written before a start and read at any time.
        void WriteSetting(const QString& key, const QString& value) const;
        QString ReadSetting(const QString& key) const;
        // The socket file of the running instance's hand-over channel.
        QString ChannelSocket() const;
        // Writes a .mplayer/config in HOME (vo and ao chosen by the test).
        void WriteMPlayerConfig(const QString& contents) const;

    private:
        QString m_strTempDir;
    };

    // On the display with Qt's xcb platform, or on the offscreen platform without one.
    RavoloProcess(const Sandbox& sandbox, const QString& display = QString());
    // In a desktop session whose variables are given (see XvfbSession::ClientEnvironment).
    RavoloProcess(const Sandbox& sandbox, const QProcessEnvironment& session);
    ~RavoloProcess();

    // Before Start: the program's session bus (it has none otherwise).
    void UseSessionBus(const QString& address);
    // The program is the one built here unless another is given (an installed one, a launcher).
    bool Start(const QStringList& arguments = {},
               const QString& program = QStringLiteral(RAVOLO_PROGRAM_PATH));
    bool WaitForExit(int timeoutMs);
    bool IsRunning() const { return m_Process.state() != QProcess::NotRunning; }
    // The running instance is listening for second starts (its window is up).
    bool WaitUntilPrimary(int timeoutMs) const;
    void Kill();
    void Terminate() { m_Process.terminate(); }
    qint64 Pid() const { return m_Process.processId(); }
    // The signal to the program's process group, as a terminal sends Ctrl+C or a hang-up.
    bool SignalGroup(int signal) const;
    int ExitCode() const { return m_Process.exitCode(); }
    // Ended by itself with exit code 0, not by a crash or a signal.
    bool EndedCleanly() const {
        return m_Process.exitStatus() == QProcess::NormalExit && m_Process.exitCode() == 0;
    }
    QByteArray Output();
    // A child of the program (its MPlayer) holds file open: the file is being played.
    bool WaitUntilChildOpens(const QString& file, int timeoutMs) const;

private:
    const Sandbox& m_Sandbox;
    QProcess m_Process;
};

#include "support/RavoloDesktop.h"

#include "support/Pixels.h"
#include "support/StoredResume.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

namespace {

// Shown while MPlayer gets ready; a file can be started once it has gone.
const QString kWaitDialogTitle = QStringLiteral("お待ちください");

int XwininfoField(const QString& info, const QString& label) {
    const QRegularExpression pattern(QRegularExpression::escape(label) +
                                     QStringLiteral(":\\s*(-?\\d+)"));
    return pattern.match(info).captured(1).toInt();
}

} // namespace

RavoloDesktop::RavoloDesktop(XvfbSession::Kind session) : m_Display(session) {
    m_Sandbox.WriteMPlayerConfig(QStringLiteral("vo=x11\nao=null\n"));
    QDir().mkpath(MediaFolder());
}

RavoloDesktop::~RavoloDesktop() {
    // The program goes before the display it draws on.
    m_pProcess.reset();
}

QString RavoloDesktop::MediaFolder() const {
    return m_Sandbox.root.filePath(QStringLiteral("Videos"));
}

QString RavoloDesktop::MakeClip(const QString& name, int seconds, bool withVideo,
                                int redSeconds) const {
    const QString path = MediaFolder() + QLatin1Char('/') + name;
    return TestMedia::MakeClip(path, seconds, withVideo, redSeconds) ? path : QString();
}

void RavoloDesktop::WriteSetting(const QString& key, const QString& value) const {
    m_Sandbox.WriteSetting(key, value);
}

QString RavoloDesktop::ReadSetting(const QString& key) const {
    return m_Sandbox.ReadSetting(key);
}

bool RavoloDesktop::WaitForSetting(const QString& key, const QString& value, int timeoutMs) const {
    return WaitUntil([&] { return ReadSetting(key) == value; }, timeoutMs);
}

QString RavoloDesktop::ResumeValue(const QString& path, uint seconds) {
    return StoredResume::Video(path, seconds, QFileInfo(path).size());
}

QStringList RavoloDesktop::StoredResumeList() const {
    QStringList entries;
    for (int i = 0; i < 30; ++i) {
        const QString entry = ReadSetting(QStringLiteral("Resume%1").arg(i));
        if (entry.isEmpty())
            break;
        entries << entry;
    }
    return entries;
}

bool RavoloDesktop::Start(const QStringList& arguments) {
    m_nFrame = 0;
    if (!HasDisplay())
        return false;
    m_pProcess = std::make_unique<RavoloProcess>(m_Sandbox, m_Display.ClientEnvironment());
    if (!m_pProcess->Start(arguments))
        return false;
    // The frame is the program's window named after it, or after the file it already plays
    // (the wait dialog has its own name).
    WaitUntil(
        [&] {
            const QList<quint64> frames = VisibleWindows(QStringLiteral("(^| - )Ravolo$"));
            m_nFrame = frames.isEmpty() ? 0 : frames.first();
            return m_nFrame != 0 || !m_pProcess->IsRunning();
        },
        kWaitMs);
    if (m_nFrame == 0)
        return false;
    return WaitUntil([&] { return PlayerPid() != 0 && VisibleWindows(kWaitDialogTitle).isEmpty(); },
                     kWaitMs);
}

bool RavoloDesktop::WaitForExit(int timeoutMs) {
    return m_pProcess->WaitForExit(timeoutMs);
}

qint64 RavoloDesktop::PlayerPid() const {
    if (!m_pProcess || !m_pProcess->IsRunning())
        return 0;
    const QString pids = m_Display.Run(QStringLiteral("pgrep"),
                                       {QStringLiteral("-P"), QString::number(m_pProcess->Pid()),
                                        QStringLiteral("-x"), QStringLiteral("mplayer")});
    return pids.section(QLatin1Char('\n'), 0, 0).trimmed().toLongLong();
}

bool RavoloDesktop::WaitForNewPlayer(qint64 oldPid, int timeoutMs) const {
    return WaitUntil(
        [&] {
            const qint64 pid = PlayerPid();
            return pid != 0 && pid != oldPid && VisibleWindows(kWaitDialogTitle).isEmpty();
        },
        timeoutMs);
}

bool RavoloDesktop::WaitForProcessGone(qint64 pid, int timeoutMs) {
    // An ended process whose parent has not reaped it yet counts as gone.
    return WaitUntil(
        [pid] {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            if (!stat.open(QIODevice::ReadOnly))
                return true;
            const QByteArray fields = stat.readAll();
            return fields.mid(fields.lastIndexOf(')') + 2, 1) == "Z";
        },
        timeoutMs);
}

QString RavoloDesktop::Title() const {
    return Xdotool({QStringLiteral("getwindowname"), QString::number(m_nFrame)}).trimmed();
}

bool RavoloDesktop::WaitForTitle(const QString& title, int timeoutMs) const {
    return WaitUntil([&] { return Title() == title; }, timeoutMs);
}

QList<quint64> RavoloDesktop::VisibleWindows(const QString& namePattern) const {
    QList<quint64> windows;
    const QString ids = Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), namePattern});
    for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        windows << id.trimmed().toULongLong();
    return windows;
}

QList<quint64> RavoloDesktop::VisibleTopLevelWindows() const {
    QList<quint64> windows;
    const QString ids = Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--class"), QStringLiteral("^ravolo$")});
    for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString state =
            m_Display.Run(QStringLiteral("xprop"),
                          {QStringLiteral("-id"), id.trimmed(), QStringLiteral("WM_STATE")});
        if (state.contains(QStringLiteral("Normal")))
            windows << id.trimmed().toULongLong();
    }
    return windows;
}

QRect RavoloDesktop::Geometry(quint64 window) const {
    const QString info =
        m_Display.Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
    if (info.isEmpty())
        return QRect();
    return QRect(XwininfoField(info, QStringLiteral("Absolute upper-left X")),
                 XwininfoField(info, QStringLiteral("Absolute upper-left Y")),
                 XwininfoField(info, QStringLiteral("Width")),
                 XwininfoField(info, QStringLiteral("Height")));
}

bool RavoloDesktop::WaitForGeometry(quint64 window, const QRect& expected, int timeoutMs) const {
    return WaitUntil([&] { return Geometry(window) == expected; }, timeoutMs);
}

void RavoloDesktop::KeyTo(quint64 window, const QString& keys) const {
    Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(window)});
    QStringList arguments{QStringLiteral("key")};
    arguments << keys.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    Xdotool(arguments);
}

void RavoloDesktop::Click(quint64 window, QPoint point, int clicks) const {
    const QPoint at = Geometry(window).topLeft() + point;
    Xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()),
             QString::number(at.y()), QStringLiteral("click"), QStringLiteral("--repeat"),
             QString::number(clicks), QStringLiteral("--delay"), QStringLiteral("80"),
             QStringLiteral("1")});
}

QImage RavoloDesktop::Grab(quint64 window) const {
    const QString path = m_Sandbox.root.filePath(QStringLiteral("grab.png"));
    QFile::remove(path);
    m_Display.Run(QStringLiteral("import"),
                  {QStringLiteral("-window"), QString::number(window), path});
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

bool RavoloDesktop::WaitForVideo(int timeoutMs) const {
    return WaitForImage(
        [](const QImage& view) { return CountBesideColourKey(view) > 160 * 120 / 2; }, timeoutMs);
}

bool RavoloDesktop::WaitForRedPicture(bool red, int timeoutMs) const {
    return WaitForImage(
        [red](const QImage& view) {
            const int redPixels = Pixels::Count(view, view.rect(), [](QColor c) {
                return c.red() > 200 && c.green() < 60 && c.blue() < 60;
            });
            // The test picture has red bars of its own, far less than half of it.
            return (redPixels > 160 * 120 / 2) == red && CountBesideColourKey(view) > 160 * 120 / 2;
        },
        timeoutMs);
}

bool RavoloDesktop::WaitForListScreen(int timeoutMs) const {
    return WaitForImage(
        [](const QImage& view) {
            return CountBesideColourKey(view) > view.width() * view.height() / 2;
        },
        timeoutMs);
}

bool RavoloDesktop::WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

int RavoloDesktop::CountBesideColourKey(const QImage& image, const QRect& area) {
    const QColor key(1, 2, 3);
    return Pixels::Count(image, area.isEmpty() ? image.rect() : area,
                         [&key](QColor c) { return c.rgb() != key.rgb(); });
}

QString RavoloDesktop::Xdotool(const QStringList& arguments) const {
    return m_Display.Run(QStringLiteral("xdotool"), arguments);
}

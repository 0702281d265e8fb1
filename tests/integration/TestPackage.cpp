#include "support/RavoloDesktop.h"
#include "support/RavoloProcess.h"
#include "support/TestMedia.h"
#include "support/XvfbSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const int kIconSizes[] = {16, 32, 48, 64, 128, 256};

struct ToolRun {
    int exitCode = -1;
    QString output; // standard output and error together
};

ToolRun RunTool(const QString& program, const QStringList& arguments, int timeoutMs = 120000) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs))
        return {-1, program + " did not finish: " + process.errorString()};
    const int exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {exitCode, QString::fromUtf8(process.readAll())};
}

// The build tree holding the program, where CMake wrote the CPack configuration.
QString BuildDir() {
    for (QDir dir = QFileInfo(RAVOLO_PROGRAM_PATH).dir(); !dir.isRoot(); dir.cdUp()) {
        if (dir.exists("CPackConfig.cmake"))
            return dir.path();
    }
    return {};
}

// The Qt libraries the binary is linked to, as the dynamic loader will look for them.
QStringList QtLibrariesNeeded(const QString& binary) {
    const ToolRun dynamic = RunTool("readelf", {"-d", binary});
    QStringList libraries;
    const QRegularExpression needed(R"(\(NEEDED\)\s+Shared library: \[(libQt6\w+)\.so\.6\])");
    for (auto match = needed.globalMatch(dynamic.output); match.hasNext();)
        libraries << match.next().captured(1);
    return libraries;
}

// Debian names a library's package after its soname: libQt6Widgets.so.6 is in libqt6widgets6.
QString PackageOfQtLibrary(const QString& library) {
    return library.toLower() + "6";
}

// The entry's keys in its one group, localised keys included ("Comment[ja]").
QMap<QString, QString> ReadDesktopEntry(const QString& path) {
    QMap<QString, QString> entry;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entry;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && !line.startsWith('#'))
            entry.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return entry;
}

// The package made from the existing build into the folder; its path, or "" with a failure.
QString MakePackage(const QTemporaryDir& out) {
    const QString build = BuildDir();
    EXPECT_FALSE(build.isEmpty()) << "no CPackConfig.cmake above " << RAVOLO_PROGRAM_PATH;
    const ToolRun cpack =
        RunTool("cpack", {"--config", build + "/CPackConfig.cmake", "-B", out.path()});
    EXPECT_EQ(cpack.exitCode, 0) << cpack.output.toStdString();
    const ToolRun arch = RunTool("dpkg", {"--print-architecture"});
    const QString deb = out.filePath("ravolo_1.5.0.0_" + arch.output.trimmed() + ".deb");
    EXPECT_TRUE(QFileInfo::exists(deb)) << QDir(out.path()).entryList().join(' ').toStdString();
    return QFileInfo::exists(deb) ? deb : QString();
}

TEST(Package, TheDebianPackageHoldsTheProgramEntryAndIconsAndDeclaresItsNeeds) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString deb = MakePackage(out);
    ASSERT_FALSE(deb.isEmpty());

    const ToolRun contents = RunTool("dpkg-deb", {"-c", deb});
    ASSERT_EQ(contents.exitCode, 0) << contents.output.toStdString();
    QStringList expected = {"./usr/bin/ravolo",
                            "./usr/share/applications/ravolo.desktop",
                            "./usr/share/metainfo/io.github.quendal.Ravolo.metainfo.xml",
                            "./usr/share/man/man1/ravolo.1.gz",
                            "./usr/share/doc/ravolo/copyright",
                            "./usr/share/doc/ravolo/changelog.gz"};
    for (int size : kIconSizes)
        expected << QString("./usr/share/icons/hicolor/%1x%1/apps/ravolo.png").arg(size);
    for (const QString& path : expected)
        EXPECT_TRUE(contents.output.contains(' ' + path + '\n')) << path.toStdString();

    const std::pair<const char*, const char*> fields[] = {{"Package", "ravolo"},
                                                          {"Version", "1.5.0.0"}};
    for (const auto& [field, value] : fields)
        EXPECT_EQ(RunTool("dpkg-deb", {"-f", deb, field}).output.trimmed(), value);
    const ToolRun depends = RunTool("dpkg-deb", {"-f", deb, "Depends"});
    ASSERT_EQ(depends.exitCode, 0) << depends.output.toStdString();
    QStringList needed = {"mplayer", "fonts-noto-cjk"};
    for (const QString& library : QtLibrariesNeeded(RAVOLO_PROGRAM_PATH))
        needed << PackageOfQtLibrary(library);
    EXPECT_GE(needed.size(), 4); // at least Qt Core and Widgets
    for (const QString& package : needed) {
        const QRegularExpression listed("(^|[ ,|])" + QRegularExpression::escape(package) +
                                        "([ ,(]|$)");
        EXPECT_TRUE(depends.output.contains(listed))
            << package.toStdString() << " missing from " << depends.output.toStdString();
    }

    // What is installed is what a desktop uses: an executable, a valid entry, square icons.
    const QString root = out.filePath("root");
    ASSERT_EQ(RunTool("dpkg-deb", {"-x", deb, root}).exitCode, 0);
    EXPECT_TRUE(QFileInfo(root + "/usr/bin/ravolo").isExecutable());
    const ToolRun validate =
        RunTool("desktop-file-validate", {root + "/usr/share/applications/ravolo.desktop"});
    EXPECT_EQ(validate.exitCode, 0) << validate.output.toStdString();
    for (int size : kIconSizes) {
        const QImage icon(
            QString("%1/usr/share/icons/hicolor/%2x%2/apps/ravolo.png").arg(root).arg(size));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }
    // The man page shows every option of --help.
    const ToolRun man = RunTool("man", {"-l", root + "/usr/share/man/man1/ravolo.1.gz"});
    EXPECT_EQ(man.exitCode, 0) << man.output.toStdString();
    for (const char* option : {"--help", "--version", "FILE|FOLDER", "QT_QPA_PLATFORM"})
        EXPECT_TRUE(man.output.contains(option))
            << option << " missing from " << man.output.toStdString();
}

TEST(Package, LintianFindsNothingToObjectTo) {
    if (QStandardPaths::findExecutable("lintian").isEmpty())
        GTEST_SKIP() << "lintian is not installed (scripts/setup installs it)";
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString deb = MakePackage(out);
    ASSERT_FALSE(deb.isEmpty());
    const ToolRun lintian = RunTool("lintian", {"--fail-on", "error,warning", deb});
    EXPECT_EQ(lintian.exitCode, 0) << lintian.output.toStdString();
    EXPECT_FALSE(
        lintian.output.contains(QRegularExpression("^[EW]: ", QRegularExpression::MultilineOption)))
        << lintian.output.toStdString();
}

TEST(Package, TheSoftwareCentreEntryIsValidAndShowsTheReadmesScreenshots) {
    const QString path = RAVOLO_SOURCE_DIR "/packaging/io.github.quendal.Ravolo.metainfo.xml";
    const ToolRun validate = RunTool("appstreamcli", {"validate", "--no-net", "--pedantic", path});
    EXPECT_EQ(validate.exitCode, 0) << validate.output.toStdString();
    QFile metainfo(path);
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(metainfo.readAll());
    EXPECT_TRUE(text.contains("<launchable type=\"desktop-id\">ravolo.desktop</launchable>"));
    for (const QString& picture :
         QDir(RAVOLO_SOURCE_DIR "/docs/screenshots").entryList({"*.png"}, QDir::Files))
        EXPECT_TRUE(text.contains("/docs/screenshots/" + picture + "</image>"))
            << picture.toStdString();
}

TEST(Package, TheDesktopEntryIsValidAndOpensEveryDefaultExtension) {
    const QString path = RAVOLO_SOURCE_DIR "/packaging/ravolo.desktop";
    const ToolRun validate = RunTool("desktop-file-validate", {path});
    EXPECT_EQ(validate.exitCode, 0) << validate.output.toStdString();
    EXPECT_TRUE(validate.output.trimmed().isEmpty()) << validate.output.toStdString();

    const QMap<QString, QString> entry = ReadDesktopEntry(path);
    EXPECT_EQ(entry.value("Name"), "Ravolo");
    EXPECT_EQ(entry.value("Exec"), "ravolo %F");
    EXPECT_EQ(entry.value("Icon"), "ravolo");
    EXPECT_FALSE(entry.value("Comment").isEmpty());
    EXPECT_FALSE(entry.value("Comment[ja]").isEmpty());
    const QStringList categories = entry.value("Categories").split(';');
    EXPECT_TRUE(categories.contains("AudioVideo") && categories.contains("Player"));

    // Every type the desktop's own database gives a default extension must be offered.
    const QStringList offered = entry.value("MimeType").split(';', Qt::SkipEmptyParts);
    const QString extensions = "avi;mov;mpg;mpeg;wmv;mp4;m4v;flv;ogm;divx;"
                               "mp3;aac;ac3;wma;m4a;aif;wav;oga;rm;flac;fla";
    const QMimeDatabase database;
    for (const QString& extension : extensions.split(';')) {
        for (const QMimeType& type : database.mimeTypesForFileName("x." + extension)) {
            EXPECT_TRUE(offered.contains(type.name()))
                << extension.toStdString() << " is " << type.name().toStdString();
        }
    }
}

// Installs the package for the test and removes it again, whatever the outcome.
class InstalledPackage {
public:
    explicit InstalledPackage(const QString& deb)
        : m_Install(Apt({"install", "-y", "--no-install-recommends", deb})) {}
    ~InstalledPackage() { Apt({"purge", "-y", "ravolo"}); }
    const ToolRun& Install() const { return m_Install; }

private:
    static ToolRun Apt(const QStringList& arguments) {
        // Another apt on the machine holds the lock for a while; wait for it.
        return RunTool("env",
                       QStringList{"DEBIAN_FRONTEND=noninteractive", "apt-get", "-o",
                                   "DPkg::Lock::Timeout=600"} +
                           arguments,
                       900000);
    }

    ToolRun m_Install;
};

int VideoPixels(const XvfbSession& x, quint64 window, const QString& path) {
    x.Run("import", {"-window", QString::number(window), path});
    return RavoloDesktop::CountBesideColourKey(QImage(path).convertToFormat(QImage::Format_RGB32));
}

// Suites named Apt... change the machine; ctest runs them one at a time.
TEST(AptInstalledPackage, StartedFromItsMenuEntryItShowsItsWindowAndPlaysAClip) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "installing a package needs root";
    if (QStandardPaths::findExecutable("dex").isEmpty())
        GTEST_SKIP() << "dex is not installed (scripts/setup installs it)";
    if (RunTool("dpkg-query", {"-W", "-f=${Status}", "ravolo"}).output.contains(" installed"))
        GTEST_SKIP() << "a ravolo package is installed already; the test would remove it";
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    const QString deb = MakePackage(out);
    ASSERT_FALSE(deb.isEmpty());
    const InstalledPackage package(deb);
    ASSERT_EQ(package.Install().exitCode, 0) << package.Install().output.toStdString();

    XvfbSession x;
    ASSERT_TRUE(x.IsRunning());
    RavoloProcess::Sandbox sandbox;
    sandbox.WriteMPlayerConfig("vo=x11\nao=null\n");
    const QString clip = sandbox.Home() + "/Videos/clip.avi";
    ASSERT_TRUE(QDir().mkpath(sandbox.Home() + "/Videos"));
    ASSERT_TRUE(TestMedia::MakeClip(clip, 20));
    RavoloProcess launcher(sandbox, x.ClientEnvironment());
    ASSERT_TRUE(launcher.Start({"/usr/share/applications/ravolo.desktop"}, "dex"));
    const quint64 frame = x.FindWindow("Ravolo", RavoloDesktop::kWaitMs);
    ASSERT_NE(frame, 0u);
    const qint64 pid = x.Run("xdotool", {"getwindowpid", QString::number(frame)}).toLongLong();
    EXPECT_EQ(QFile::symLinkTarget(QString("/proc/%1/exe").arg(pid)), "/usr/bin/ravolo");

    // The installed program started again with a clip hands it to the running one.
    ASSERT_TRUE(RavoloDesktop::WaitUntil([&] { return QFile::exists(sandbox.ChannelSocket()); },
                                         RavoloDesktop::kWaitMs));
    RavoloProcess second(sandbox, x.ClientEnvironment());
    ASSERT_TRUE(second.Start({clip}, "/usr/bin/ravolo"));
    EXPECT_TRUE(second.WaitForExit(RavoloDesktop::kWaitMs));
    const QString grab = out.filePath("grab.png");
    EXPECT_TRUE(RavoloDesktop::WaitUntil(
        [&] { return VideoPixels(x, frame, grab) > 160 * 120 / 2; }, RavoloDesktop::kWaitMs));
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_TRUE(RavoloDesktop::WaitForProcessGone(pid, RavoloDesktop::kWaitMs));
}

} // namespace

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

TEST(Package, TheDebianPackageHoldsTheProgramEntryAndIconsAndDeclaresItsNeeds) {
    const QString build = BuildDir();
    ASSERT_FALSE(build.isEmpty()) << "no CPackConfig.cmake above " << RAVOLO_PROGRAM_PATH;
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    // The package is made from the existing build, into a folder of its own.
    const ToolRun cpack =
        RunTool("cpack", {"--config", build + "/CPackConfig.cmake", "-B", out.path()});
    ASSERT_EQ(cpack.exitCode, 0) << cpack.output.toStdString();

    const ToolRun arch = RunTool("dpkg", {"--print-architecture"});
    ASSERT_EQ(arch.exitCode, 0);
    const QString deb = out.filePath("ravolo_1.5.0.0_" + arch.output.trimmed() + ".deb");
    ASSERT_TRUE(QFileInfo::exists(deb)) << QDir(out.path()).entryList().join(' ').toStdString();

    const ToolRun contents = RunTool("dpkg-deb", {"-c", deb});
    ASSERT_EQ(contents.exitCode, 0) << contents.output.toStdString();
    QStringList expected = {"./usr/bin/ravolo", "./usr/share/applications/ravolo.desktop"};
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

} // namespace

#include "platform/CommandLine.h"

#include "RavoloVersion.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

// A launcher may hand over file URLs instead of paths; other URLs are not files.
QString LocalPath(const QString& argument) {
    if (argument.startsWith(QLatin1String("file:")))
        return QUrl(argument).toLocalFile();
    return argument;
}

QString ExistingAbsolutePath(const QString& argument, const QDir& workingDir) {
    const QString path = LocalPath(argument);
    if (path.isEmpty())
        return {};
    const QFileInfo info(workingDir, path);
    if (!info.exists())
        return {};
    return QDir::cleanPath(info.absoluteFilePath());
}

// Qt takes its options with one dash or two.
bool IsPlatformOption(const QString& argument) {
    return argument == QLatin1String("-platform") || argument == QLatin1String("--platform");
}

} // namespace

CommandLine CommandLine::Parse(const QStringList& arguments, const QString& workingDir) {
    CommandLine result;
    const QDir dir(workingDir);
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument.startsWith(QLatin1Char('-'))) {
            if (argument == QLatin1String("--")) {
                optionsEnded = true;
            } else if (IsPlatformOption(argument)) {
                // Qt reads the name itself; it is no path.
                if (++i < arguments.size())
                    result.platform = arguments[i];
            } else if (result.action == Run && argument == QLatin1String("--version")) {
                result.action = PrintVersion;
                result.text = VersionText();
            } else if (result.action == Run &&
                       (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
                result.action = PrintHelp;
                result.text = HelpText();
            }
            continue;
        }
        const QString path = ExistingAbsolutePath(argument, dir);
        if (!path.isEmpty())
            result.paths << path;
    }
    return result;
}

QString CommandLine::VersionText() {
    return QStringLiteral("Ravolo %1.%2.%3.%4\n")
        .arg(RAVOLO_VERSION_MAJOR)
        .arg(RAVOLO_VERSION_MINOR)
        .arg(RAVOLO_VERSION_BUILD)
        .arg(RAVOLO_VERSION_REVISION);
}

QString CommandLine::HelpText() {
    return QStringLiteral("Usage: ravolo [--help] [--version] [FILE|FOLDER]...\n"
                          "Remote-control front-end for MPlayer.\n"
                          "  FILE|FOLDER  files or folders to open\n"
                          "  --help       show this help and exit\n"
                          "  --version    show the version and exit\n"
                          "\n"
                          "使い方: ravolo [--help] [--version] [ファイル|フォルダー]...\n"
                          "リモコンで操作する MPlayer のフロントエンドです。\n"
                          "  ファイル|フォルダー  開くファイルまたはフォルダー\n"
                          "  --help               このヘルプを表示して終了します\n"
                          "  --version            バージョンを表示して終了します\n");
}

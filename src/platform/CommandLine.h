#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do by its arguments: --version, --help (or -h), and files and
// folders to hand to the view or to the running instance ("--" ends the options), and Qt's own
// "-platform NAME". Anything else is ignored, so a launcher passing something unexpected never
// stops the program from starting.
struct CommandLine {
    enum Action { Run, PrintVersion, PrintHelp };

    Action action = Run;
    QStringList paths; // absolute, clean, existing files and folders, in the order given
    QString text;      // what to print for PrintVersion and PrintHelp, ending in a newline
    QString platform;  // the Qt platform asked for with -platform (or --platform), or ""

    // arguments as QCoreApplication::arguments(): the program first. Relative paths are taken
    // from workingDir. The first option of the two wins.
    static CommandLine Parse(const QStringList& arguments, const QString& workingDir);

    static QString VersionText();
    static QString HelpText();
};

#include "app/CRavoloApp.h"
#include "platform/CommandLine.h"

#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    // --version and --help answer without a display, a second instance or the profile.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = CommandLine::Parse(arguments, QDir::currentPath());
    if (commandLine.action != CommandLine::Run) {
        std::fputs(commandLine.text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    CRavoloApp app(argc, argv, commandLine.paths);
    if (!app.InitInstance())
        return app.ExitInstance(0);
    return app.ExitInstance(app.exec());
}

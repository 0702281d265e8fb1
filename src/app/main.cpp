#include "app/CRavoloApp.h"
#include "platform/CommandLine.h"
#include "platform/FontConfigWarmUp.h"

#include <QDir>
#include <cstdio>
#include <malloc.h>

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
    // MPlayer draws only into an X window (-wid): under a Wayland session Ravolo is an XWayland
    // client unless the user chose a platform.
    if (commandLine.platform.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // Every folder read allocates its level anew, a few MiB for a large folder. With glibc's
    // sliding threshold those blocks move from mmap into the heap and fragment it, so the
    // resident size grew with every stop; a fixed threshold hands them back when freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    FontConfigWarmUp fonts;
    CRavoloApp app(argc, argv, commandLine.paths);
    fonts.Wait();
    if (!app.InitInstance())
        return app.ExitInstance(0);
    return app.ExitInstance(app.exec());
}

// In a Wayland desktop session, where Qt would take its wayland platform, the real program is an
// X client of XWayland: MPlayer can only draw into an X window.
#include "support/RavoloDesktop.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>

TEST(WaylandSession, AClipGivenOnTheCommandLinePlaysInsideTheViewThroughXWayland) {
    for (const char* program : {"weston", "Xwayland"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            GTEST_SKIP() << program << " is not installed (scripts/setup installs it)";
    }
    // Without Qt's wayland platform there would be nothing to avoid.
    ASSERT_TRUE(QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                                  QStringLiteral("/platforms/libqwayland-generic.so")));
    RavoloDesktop desktop(XvfbSession::Kind::Wayland);
    ASSERT_TRUE(desktop.HasDisplay());
    const QString clip = desktop.MakeClip(QStringLiteral("clip.avi"), 8);
    ASSERT_FALSE(clip.isEmpty());

    // Handed over on the command line: no keys to synthesise through the compositor.
    ASSERT_TRUE(desktop.Start({clip}));
    ASSERT_TRUE(desktop.WaitForTitle(QStringLiteral("clip.avi - Ravolo")));
    EXPECT_TRUE(desktop.WaitForVideo());
}

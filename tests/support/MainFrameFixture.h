#pragma once

#include "app/CMainFrame.h"
#include "settings/SettingsStore.h"
#include "support/FakeFrameView.h"
#include "support/PrivateBus.h"
#include "support/StoredSettings.h"
#include "support/TempProfile.h"

#include <QRect>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// The main frame as the program makes it over a temporary profile, with a stand-in view.
class MainFrameTest : public testing::Test {
protected:
    // A placement of a normal window at 200,150 sized 800x600, and the profile holding it.
    static inline const QString kNormalPos = QStringLiteral("0:1:-1:-1:-1:-1:200:150:1000:750");
    static inline const QByteArray kNormalProfile = "WindowPos=0:1:-1:-1:-1:-1:200:150:1000:750\n";
    static inline const QRect kNormalRect{200, 150, 800, 600};

    void SetProfile(const QByteArray& body) { m_Profile.SetBytes(StoredSettings::Ini(body)); }

    // A frame as the program makes it, over the profile; buses absent unless given.
    CMainFrame& MakeFrame(const QDBusConnection& sessionBus = PrivateBus::Absent(),
                          const QDBusConnection& systemBus = PrivateBus::Absent()) {
        m_Store = std::make_unique<SettingsStore>(m_Profile.Path());
        m_Frame.emplace(*m_Store);
        m_Frame->UseBuses(sessionBus, systemBus);
        m_View.emplace(*m_Frame);
        auto* view = new QWidget;
        view->setAttribute(Qt::WA_NativeWindow);
        m_Frame->SetView(view, &*m_View);
        return *m_Frame;
    }

    // Start-up as the application does it.
    CMainFrame& Start() {
        CMainFrame& frame = MakeFrame();
        if (!frame.RestoreWindowPlacement())
            frame.show();
        return frame;
    }

    void Finish() {
        m_View.reset();
        m_Frame.reset();
        m_Store.reset();
    }

    // Closes, then starts again on what was stored.
    CMainFrame& Restart() {
        EXPECT_TRUE(m_Frame->close());
        Finish();
        return Start();
    }

    void StartPlaying() {
        m_View->playing = true;
        m_Frame->SetPlaybackActive(true);
    }

    // What the next start reads from the profile file.
    QString StoredWindowPos() { return m_Profile.Reloaded()->ReadString(u"WindowPos"); }
    bool StoredFullScreen() { return m_Profile.Reloaded()->ReadFullScreen(); }

    TempProfile m_Profile;
    std::unique_ptr<SettingsStore> m_Store;
    std::optional<CMainFrame> m_Frame;
    std::optional<FakeView> m_View;
};

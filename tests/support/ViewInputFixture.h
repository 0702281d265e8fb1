#pragma once

#include "support/StoredResume.h"
#include "support/ViewFixture.h"
#include "support/ViewTestKit.h"

#include <QDir>
#include <ostream>
#include <utility>
#include <vector>

// The frame's full-screen form and the view's own full-screen flag.
struct FullSeen {
    bool fullScreen = false;
    bool userFullScreen = false;
    bool operator==(const FullSeen&) const = default;
};
inline void PrintTo(const FullSeen& seen, std::ostream* out) {
    *out << "full screen " << seen.fullScreen << ", user flag " << seen.userFullScreen;
}

// The view on a media folder of two sub-folders and two clips, both with resume entries (a.avi
// first), for walking keys and pad codes through it.
class ViewInputFixture : public ViewFixture {
protected:
    using Input = ViewTestKit::Input;

    void SetUp() override {
        h.MakeFile(QStringLiteral("media/sub1/x.avi"));
        QDir().mkpath(h.Folder() + "/media/sub2");
        m_A = h.MakeFile(QStringLiteral("media/a.avi"));
        m_B = h.MakeFile(QStringLiteral("media/b.avi"));
        h.OpenAt(QStringLiteral("media"));
        h.StoreResume(0, StoredResume::Video(m_A, 30));
        h.StoreResume(1, StoredResume::Video(m_B, 20));
    }

    void Walk(const std::vector<std::pair<Input, FullSeen>>& rows) {
        for (const auto& [input, expected] : rows) {
            ViewTestKit::Deliver(View(), input);
            EXPECT_EQ(FullSeen({h.frame.fullScreen, View().Commands().IsUserFullScreen()}),
                      expected)
                << ViewTestKit::Describe(input);
        }
    }
    // Every full-screen input, from a window back to a window.
    void WalkFullScreen() {
        using ViewTestKit::kAlt, ViewTestKit::kCtrl, ViewTestKit::kShift, ViewTestKit::Pad;
        Walk({
            {{Qt::Key_F, kCtrl}, {true, true}},
            {{Qt::Key_3, kCtrl}, {true, true}}, // the user asked for it: stays
            {{Qt::Key_F, kCtrl}, {false, false}},
            {{Qt::Key_3, kCtrl}, {false, false}},
            {{Qt::Key_Return, kAlt}, {true, true}},
            {{Qt::Key_Return, kAlt}, {true, false}}, // stays full screen
            {{Qt::Key_Return, kAlt, true}, {true, false}},
            {{Qt::Key_3, kCtrl | kShift}, {true, false}},
            {{Qt::Key_F, kCtrl | kShift}, {true, false}},
            {{Qt::Key_3, kCtrl}, {false, false}},
            {Pad(5), {true, true}},
            {Pad(5), {false, false}},
        });
    }
    // Starts the selected entry again with the play key; MPlayer stays silent.
    void Play() {
        ASSERT_TRUE(h.EndUnansweredStop());
        ViewTestKit::PressKey(View(), Qt::Key_MediaTogglePlayPause);
        ASSERT_TRUE(View().Session().IsPlaying());
    }

    QString m_A;
    QString m_B;
};

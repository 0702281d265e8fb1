#pragma once

#include "support/FakePlayer.h"
#include "support/ViewHarness.h"
#include "view/CRavoloView.h"

#include <QByteArray>
#include <QList>
#include <gtest/gtest.h>
#include <memory>

// A view in a harness against the fake player, for tests that drive the whole view. The player
// stays silent unless the test gives it a script.
class ViewFixture : public testing::Test {
public:
    // A clip of two minutes, stopped at 65.4 s.
    static inline const QByteArray kAnswers = "on get_time_length reply ANS_LENGTH=120.00\n"
                                              "on get_time_pos reply ANS_TIME_POSITION=65.4\n";

protected:
    // The fake player the next launch runs, with `script`.
    void UsePlayer(const QByteArray& script) {
        m_Player.reset(); // its environment goes before the new one's is set
        m_Player = std::make_unique<FakePlayer>(script);
    }
    CRavoloView& Start() { return h.Start(FakePlayer::Program()); }
    // Starts against a player running `script` and waits until it is ready.
    void StartWith(const QByteArray& script) {
        UsePlayer(script);
        Start();
        ASSERT_TRUE(h.WaitForReady());
    }
    CRavoloView& View() { return h.View(); }

    // What the fake player received, without the CRs.
    QList<QByteArray> Commands() const { return m_Player->Record().CommandTexts(); }
    bool WaitForCommands(int count) const {
        return ViewHarness::WaitFor([&] { return Commands().size() >= count; });
    }
    // Plays the selected row until MPlayer's first answer has confirmed the start.
    bool PlayUntilConfirmed() {
        View().PlaySelectedItem();
        return WaitUntilConfirmed();
    }
    bool WaitUntilConfirmed() {
        return ViewHarness::WaitFor([&] { return !View().Session().StartCheckArmed(); });
    }
    bool WaitUntilStopped() {
        return ViewHarness::WaitFor([&] { return !View().Session().Stopping(); });
    }

    // Declared before the harness: the view and its MPlayer go first.
    std::unique_ptr<FakePlayer> m_Player = std::make_unique<FakePlayer>("");
    ViewHarness h;
};

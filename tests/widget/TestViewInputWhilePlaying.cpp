// Every key of the view's key map and every pad code while playing, driven through the view as
// the desktop and the pad deliver them: what is queued for MPlayer, the transport level, and
// which keys reach the frame.
#include "controls/CControlDlg.h"
#include "support/QtPrinters.h"
#include "support/ViewInputFixture.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

using namespace ViewTestKit;

namespace {

// What the playback screen did after an input.
struct PlaySeen {
    int level = 9;
    std::string queued; // the start of the first command queued by the input, "" for none
    bool playing = true;
    bool operator==(const PlaySeen&) const = default;
};
void PrintTo(const PlaySeen& s, std::ostream* out) {
    *out << "level " << s.level << ", queued \"" << s.queued << "\""
         << (s.playing ? ", playing" : ", stopped");
}

class ViewInputWhilePlaying : public ViewInputFixture {
protected:
    using ViewInputFixture::Walk;
    void Walk(const std::vector<std::pair<Input, PlaySeen>>& rows) {
        for (const auto& [input, expected] : rows) {
            const qsizetype before = QueuedCommands(View()).size();
            Deliver(View(), input);
            const QList<QByteArray> queued = QueuedCommands(View());
            PlaySeen seen;
            seen.level = View().TransportControls().SpeedMode();
            seen.playing = View().Session().IsPlaying();
            if (queued.size() > before) {
                const QByteArray& first = queued[before];
                seen.queued = first.startsWith(expected.queued.c_str()) && !expected.queued.empty()
                                  ? expected.queued
                                  : first.toStdString();
            }
            EXPECT_EQ(seen, expected) << Describe(input);
        }
    }
};

TEST_F(ViewInputWhilePlaying, KeysAndPadCodesWhilePlaying) {
    Start();
    ASSERT_TRUE(h.WaitForReady());
    PressKey(View(), Qt::Key_Return); // the entry of a.avi
    ASSERT_TRUE(View().Session().IsPlaying());
    // clang-format off
    Walk(std::vector<std::pair<Input, PlaySeen>>{
        {{Qt::Key_Tab},                  {9, ""}},
        {{Qt::Key_Return},               {9, ""}},
        {{Qt::Key_Up},                   {9, ""}},
        {{Qt::Key_Down},                 {9, ""}},
        {{Qt::Key_Escape, kShift},       {9, ""}},
        {{Qt::Key_O, kCtrl},             {9, ""}},
        {{Qt::Key_3, kCtrl},             {9, ""}},
        {{Qt::Key_Left, kShift},         {9, ""}},
        {{Qt::Key_VolumeMute},           {9, ""}},
        {{Qt::Key_VolumeUp},             {9, ""}},
        {{Qt::Key_Backspace},            {9, "seek 0 2"}},
        {{Qt::Key_PageUp},               {9, "switch_audio"}},
        {{Qt::Key_PageDown, kShift},     {9, "sub_select"}},
        {{Qt::Key_T, kCtrl},             {9, "seek 12 0"}},
        {{Qt::Key_R, kCtrl},             {9, "seek -12 0"}},
        {{Qt::Key_MediaNext},            {9, "seek 12 0"}},
        {{Qt::Key_MediaPrevious},        {9, "seek -12 0"}},
        {{Qt::Key_Backspace, kNone, true}, {9, ""}},
        {{Qt::Key_Right},                {10, "speed_set"}},
        {{Qt::Key_Right},                {11, "speed_set"}},
        {{Qt::Key_Right},                {12, "mute 1"}},
        {{Qt::Key_Left},                 {3, "osd_show_text"}},
        {{Qt::Key_Left},                 {2, "osd_show_text"}},
        {{Qt::Key_Left},                 {1, "osd_show_text"}},
        {{Qt::Key_Left},                 {0, "osd_show_text"}},
        {{Qt::Key_Left},                 {0, ""}},
        {{Qt::Key_Right},                {10, "speed_set"}},
        {{Qt::Key_MediaTogglePlayPause}, {9, "speed_set"}},
        {{Qt::Key_MediaPause},           {4, "mute 1"}},
        {{Qt::Key_Return},               {4, "frame_step"}},
        {{Qt::Key_Backspace},            {4, ""}},
        {{Qt::Key_PageUp},               {4, ""}},
        {{Qt::Key_T, kCtrl},             {4, ""}},
        {{Qt::Key_R, kCtrl},             {4, ""}},
        {{Qt::Key_MediaNext},            {4, ""}},
        {{Qt::Key_Left},                 {3, "speed_set"}},
        {{Qt::Key_Right},                {10, "speed_set"}},
        {{Qt::Key_S, kCtrl},             {4, "get_time_pos", false}},
    });
    EXPECT_EQ(View().Session().PendingStop(), StopReason::Register);
    EXPECT_EQ(View().Settings().m_strCurrentFolder, h.Folder() + "/media");

    Play();
    Walk(std::vector<std::pair<Input, PlaySeen>>{
        {Pad(1),  {9, ""}},
        {Pad(12), {9, ""}},
        {Pad(13), {9, ""}},
        {Pad(18), {9, ""}},
        {Pad(19), {9, ""}},
        {Pad(16), {9, ""}},
        {Pad(21), {9, ""}},
        {Pad(3),  {9, "seek -12 0"}},
        {Pad(4),  {9, "seek 12 0"}},
        {Pad(8),  {9, "switch_audio"}},
        {Pad(11), {9, "sub_select"}},
        {Pad(14), {9, "seek 0 2"}},
        {Pad(6),  {3, "mute 1"}},
        {Pad(15), {2, "osd_show_text"}},
        {Pad(7),  {10, "speed_set"}},
        {Pad(17), {11, "speed_set"}},
        {Pad(9),  {9, "speed_set"}},
        {Pad(9),  {4, "mute 1"}},
        {Pad(16), {4, "frame_step"}},
        {Pad(14), {4, ""}},
        {Pad(10), {4, "get_time_pos", false}},
    });
    // clang-format on
    EXPECT_EQ(View().Session().PendingStop(), StopReason::Register);

    struct Stop {
        Input input;
        StopReason reason;
    };
    for (const Stop& stop :
         {Stop{{Qt::Key_Escape}, StopReason::Restore},
          Stop{{Qt::Key_MediaStop}, StopReason::Register}, Stop{Pad(20), StopReason::Restore}}) {
        SCOPED_TRACE(Describe(stop.input));
        Play();
        Deliver(View(), stop.input);
        EXPECT_FALSE(View().Session().IsPlaying());
        EXPECT_EQ(View().Session().PendingStop(), stop.reason);
    }

    Play();
    WalkFullScreen();
    View().ControlPad()->show();
    SendPadCode(View(), 2);
    EXPECT_FALSE(View().ControlPad()->isVisible());
    EXPECT_TRUE(View().Session().IsPlaying());
    EXPECT_EQ(h.frame.closeRequests, 0);
}

// Counts the key presses a widget receives.
class KeyCounter : public QObject {
public:
    explicit KeyCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        presses += event->type() == QEvent::KeyPress ? 1 : 0;
        return false;
    }
    int presses = 0;
};

TEST_F(ViewInputWhilePlaying, WhilePlayingOnlyKeysWithDefaultProcessingReachTheFrame) {
    Start();
    ASSERT_TRUE(h.WaitForReady());
    Play();
    struct Case {
        Input input;
        bool passedOn;
    };
    const Case cases[] = {{{Qt::Key_VolumeUp}, false},
                          {{Qt::Key_Up}, false},
                          {{Qt::Key_Tab}, false},
                          {{Qt::Key_Left, kShift}, false},
                          {{Qt::Key_PageUp, kCtrl}, false},
                          {{Qt::Key_O, kCtrl}, true},
                          {{Qt::Key_X}, true},
                          {{Qt::Key_F4, kAlt}, true},
                          {{Qt::Key_Return, kAlt, true}, true},
                          {{Qt::Key_S, kCtrl}, true}};
    for (const Case& c : cases) {
        KeyCounter frame(h.frame.window);
        Deliver(View(), c.input);
        EXPECT_EQ(frame.presses, c.passedOn ? 1 : 0) << Describe(c.input);
    }
}

TEST_F(ViewInputWhilePlaying, PadExitWhilePlayingStoresThePositionThenCloses) {
    UsePlayer("on get_time_pos reply ANS_TIME_POSITION=77\n");
    Start();
    ASSERT_TRUE(h.WaitForReady());
    Play();
    SendPadCode(View(), 0);
    EXPECT_FALSE(View().Session().IsPlaying());
    EXPECT_EQ(h.frame.closeRequests, 0);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return h.frame.closeRequests == 1; }));
    EXPECT_EQ(h.ResumeOnDisk(0), StoredResume::Video(m_A, 77));
}

} // namespace

// Every key of the view's key map and every pad code, on each of the three screens, driven
// through the view as the desktop and the pad deliver them: what runs, and what the list does.
#include "controls/CControlDlg.h"
#include "platform/AppEvents.h"
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/FakePlayer.h"
#include "support/QtPrinters.h"
#include "support/ViewHarness.h"
#include "support/ViewTestKit.h"
#include "view/CRavoloView.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

using namespace ViewTestKit;

namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;

// A key, or a pad code when `pad` is 0 or more.
struct Input {
    int key = 0;
    Qt::KeyboardModifiers modifiers = kNone;
    bool autoRepeat = false;
    int pad = -100;
};
Input Pad(int code) {
    return {0, kNone, false, code};
}

std::string Describe(const Input& in) {
    if (in.pad != -100)
        return "pad code " + std::to_string(in.pad);
    return "key 0x" + QString::number(in.key, 16).toStdString() + " modifiers 0x" +
           QString::number(in.modifiers.toInt(), 16).toStdString() +
           (in.autoRepeat ? " repeated" : "");
}

void Deliver(CRavoloView& view, const Input& in) {
    if (in.pad != -100)
        SendPadCode(view, in.pad);
    else
        PressKey(view, in.key, in.modifiers, in.autoRepeat);
}

// What a list screen shows after an input.
struct ListSeen {
    bool resumeScreen = false;
    std::string folder;   // relative to the harness folder; "<drives>" for the drive selection
    std::string selected; // the selected row's name; "*" at the drive selection
    int prompts = 0;
    bool operator==(const ListSeen&) const = default;
};
void PrintTo(const ListSeen& s, std::ostream* out) {
    *out << (s.resumeScreen ? "resume" : "folder") << " screen, folder " << s.folder
         << ", selected " << s.selected << ", " << s.prompts << " prompts";
}

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

// The frame's full-screen form and the view's own full-screen flag.
struct FullSeen {
    bool fullScreen = false;
    bool userFullScreen = false;
    bool operator==(const FullSeen&) const = default;
};
void PrintTo(const FullSeen& s, std::ostream* out) {
    *out << "full screen " << s.fullScreen << ", user flag " << s.userFullScreen;
}

constexpr bool R = true;  // the resume screen
constexpr bool F = false; // the folder screen

class ViewInput : public testing::Test {
protected:
    void SetUp() override {
        h.MakeFile(QStringLiteral("media/sub1/x.avi"));
        QDir().mkpath(h.Folder() + "/media/sub2");
        m_A = h.MakeFile(QStringLiteral("media/a.avi"));
        m_B = h.MakeFile(QStringLiteral("media/b.avi"));
        h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/media");
        h.Profile().WriteString(QStringLiteral("Resume0"), ResumeEntry(2, 30, 4096, m_A));
        h.Profile().WriteString(QStringLiteral("Resume1"), ResumeEntry(2, 20, 4096, m_B));
    }
    CRavoloView& Start() { return h.Start(FakePlayer::Program()); }
    CRavoloView& View() { return h.View(); }

    ListSeen SeenOnList() {
        const ViewState& state = View().State();
        ListSeen seen;
        seen.resumeScreen = state.m_bResumeScreen;
        seen.folder = View().Folder().AtDriveLevel()
                          ? "<drives>"
                          : QDir(h.Folder())
                                .relativeFilePath(View().Settings().m_strCurrentFolder)
                                .toStdString();
        seen.selected = !state.m_bResumeScreen && View().Folder().AtDriveLevel()
                            ? "*"
                            : SelectedName(VisibleList(View())).toStdString();
        seen.prompts = static_cast<int>(h.prompter.prompts.size());
        return seen;
    }
    void Walk(const std::vector<std::pair<Input, ListSeen>>& rows) {
        for (const auto& [input, expected] : rows) {
            Deliver(View(), input);
            EXPECT_EQ(SeenOnList(), expected) << Describe(input);
        }
    }
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
    void Walk(const std::vector<std::pair<Input, FullSeen>>& rows) {
        for (const auto& [input, expected] : rows) {
            Deliver(View(), input);
            EXPECT_EQ(FullSeen({h.frame.fullScreen, View().Commands().IsUserFullScreen()}),
                      expected)
                << Describe(input);
        }
    }
    // Every full-screen input, from a window back to a window.
    void WalkFullScreen(bool withPad) {
        Walk(std::vector<std::pair<Input, FullSeen>>{
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
        });
        if (withPad)
            Walk(std::vector<std::pair<Input, FullSeen>>{{Pad(5), {true, true}},
                                                         {Pad(5), {false, false}}});
    }
    // Starts the selected entry again with the play key; MPlayer stays silent.
    void Play() {
        ASSERT_TRUE(h.EndUnansweredStop());
        PressKey(View(), Qt::Key_MediaTogglePlayPause);
        ASSERT_TRUE(View().Session().IsPlaying());
    }

    FakePlayer m_Player{""};
    ViewHarness h;
    QString m_A;
    QString m_B;
};

TEST_F(ViewInput, KeysOnTheResumeAndFolderScreens) {
    Start();
    // clang-format off
    Walk(std::vector<std::pair<Input, ListSeen>>{
        // on the resume screen, with the entry of a.avi
        {{Qt::Key_Escape},                 {R, "media", "a.avi", 0}},
        {{Qt::Key_Down},                   {R, "media", "b.avi", 0}},
        {{Qt::Key_Up},                     {R, "media", "a.avi", 0}},
        {{Qt::Key_PageDown},               {R, "media", "b.avi", 0}},
        {{Qt::Key_PageUp, kShift},         {R, "media", "a.avi", 0}},
        {{Qt::Key_VolumeUp},               {R, "media", "a.avi", 0}},
        {{Qt::Key_Left},                   {R, "media", "a.avi", 0}},
        {{Qt::Key_Right},                  {R, "media", "a.avi", 0}},
        {{Qt::Key_MediaPrevious},          {R, "media", "a.avi", 0}},
        {{Qt::Key_MediaNext},              {R, "media", "a.avi", 0}},
        {{Qt::Key_MediaStop},              {R, "media", "a.avi", 0}},
        {{Qt::Key_R, kCtrl},               {R, "media", "a.avi", 0}},
        {{Qt::Key_T, kCtrl},               {R, "media", "a.avi", 0}},
        {{Qt::Key_S, kCtrl},               {R, "media", "a.avi", 0}},
        {{Qt::Key_Backspace, kShift},      {R, "media", "a.avi", 0}},
        {{Qt::Key_Backspace, kNone, true}, {R, "media", "a.avi", 0}},
        {{Qt::Key_Backspace},              {R, "media", "a.avi", 1}}, // answered no
        {{Qt::Key_Tab, kCtrl},             {R, "media", "a.avi", 1}},
        {{Qt::Key_Tab},                    {F, "media", "a.avi", 1}},
        // on the folder screen: sub1, sub2, a.avi, b.avi
        {{Qt::Key_Right},                  {F, "media", "a.avi", 1}},
        {{Qt::Key_VolumeDown},             {F, "media", "a.avi", 1}},
        {{Qt::Key_VolumeMute},             {F, "media", "a.avi", 1}},
        {{Qt::Key_Backspace, kCtrl},       {F, "media", "a.avi", 1}},
        {{Qt::Key_Backspace},              {F, "media", "a.avi", 2}},
        {{Qt::Key_Down},                   {F, "media", "b.avi", 2}},
        {{Qt::Key_Up},                     {F, "media", "a.avi", 2}},
        {{Qt::Key_PageDown},               {F, "media", "b.avi", 2}},
        {{Qt::Key_PageUp},                 {F, "media", "sub1", 2}},
        {{Qt::Key_Return, kNone, true},    {F, "media", "sub1", 2}},
        {{Qt::Key_Return, kShift},         {F, "media", "sub1", 2}},
        {{Qt::Key_Return},                 {F, "media/sub1", "x.avi", 2}},
        {{Qt::Key_Left, kShift},           {F, "media/sub1", "x.avi", 2}},
        {{Qt::Key_Left},                   {F, "media", "sub1", 2}},
        {{Qt::Key_MediaTogglePlayPause},   {F, "media/sub1", "x.avi", 2}},
        {{Qt::Key_MediaPrevious},          {F, "media", "sub1", 2}},
        {{Qt::Key_Enter, Qt::KeypadModifier}, {F, "media/sub1", "x.avi", 2}},
        {{Qt::Key_R, kCtrl},               {F, "media", "sub1", 2}},
        {{Qt::Key_R, kCtrl},               {F, ".", "media", 2}},
        {{Qt::Key_MediaNext},              {F, ".", "media", 2}},
        {{Qt::Key_MediaStop},              {F, ".", "media", 2}},
        {{Qt::Key_T, kCtrl},               {F, ".", "media", 2}},
        {{Qt::Key_S, kCtrl},               {F, ".", "media", 2}},
        {{Qt::Key_Return},                 {F, "media", "sub1", 2}},
        {{Qt::Key_O, kCtrl | kShift},      {F, "media", "sub1", 2}},
        {{Qt::Key_O, kCtrl},               {R, "media", "a.avi", 2}},
        {{Qt::Key_O, kCtrl},               {F, "media", "a.avi", 2}},
        {{Qt::Key_Escape},                 {F, "<drives>", "*", 2}},
        {{Qt::Key_Escape},                 {F, "<drives>", "*", 2}},
        {{Qt::Key_Left},                   {F, "<drives>", "*", 2}},
        {{Qt::Key_R, kCtrl},               {F, "<drives>", "*", 2}},
        {{Qt::Key_Tab},                    {R, "<drives>", "a.avi", 2}}, // a drive carries nothing
    });
    // clang-format on
    EXPECT_EQ(h.prompter.Texts(ScriptedPrompter::Kind::ResumeDelete).size(), 2);
    EXPECT_FALSE(View().Session().IsPlaying());
    EXPECT_TRUE(h.beeper.beeps.empty());
    WalkFullScreen(true);
    View().OnCommand(ID_SWITCH_SCREEN);
    WalkFullScreen(true);
}

TEST_F(ViewInput, PadCodesOnTheResumeAndFolderScreens) {
    Start();
    // clang-format off
    Walk(std::vector<std::pair<Input, ListSeen>>{
        {Pad(3),  {R, "media", "a.avi", 0}},
        {Pad(6),  {R, "media", "a.avi", 0}},
        {Pad(15), {R, "media", "a.avi", 0}},
        {Pad(20), {R, "media", "a.avi", 0}},
        {Pad(1),  {R, "media", "a.avi", 0}},
        {Pad(4),  {R, "media", "a.avi", 0}},
        {Pad(7),  {R, "media", "a.avi", 0}},
        {Pad(10), {R, "media", "a.avi", 0}},
        {Pad(17), {R, "media", "a.avi", 0}},
        {Pad(21), {R, "media", "a.avi", 0}},
        {Pad(-1), {R, "media", "a.avi", 0}},
        {Pad(14), {R, "media", "a.avi", 1}},
        {Pad(19), {R, "media", "b.avi", 1}},
        {Pad(13), {R, "media", "a.avi", 1}},
        {Pad(11), {R, "media", "b.avi", 1}},
        {Pad(8),  {R, "media", "a.avi", 1}},
        {Pad(12), {F, "media", "a.avi", 1}},
        {Pad(19), {F, "media", "b.avi", 1}},
        {Pad(13), {F, "media", "a.avi", 1}},
        {Pad(11), {F, "media", "b.avi", 1}},
        {Pad(8),  {F, "media", "sub1", 1}},
        {Pad(16), {F, "media/sub1", "x.avi", 1}},
        {Pad(3),  {F, "media", "sub1", 1}},
        {Pad(9),  {F, "media/sub1", "x.avi", 1}},
        {Pad(6),  {F, "media", "sub1", 1}},
        {Pad(15), {F, ".", "media", 1}},
        {Pad(4),  {F, ".", "media", 1}},
        {Pad(7),  {F, ".", "media", 1}},
        {Pad(10), {F, ".", "media", 1}},
        {Pad(17), {F, ".", "media", 1}},
        {Pad(14), {F, ".", "media", 1}}, // a folder has no entry to delete
        {Pad(20), {F, "<drives>", "*", 1}},
        {Pad(18), {R, "<drives>", "a.avi", 1}},
        {Pad(18), {F, "<drives>", "*", 1}},
    });
    // clang-format on
    EXPECT_EQ(h.frame.closeRequests, 0);
    SendPadCode(View(), 0);
    EXPECT_EQ(h.frame.closeRequests, 1);
    View().ControlPad()->show();
    SendPadCode(View(), 2);
    EXPECT_FALSE(View().ControlPad()->isVisible());
}

TEST_F(ViewInput, KeysAndPadCodesWhilePlaying) {
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
    WalkFullScreen(true);
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

TEST_F(ViewInput, WhilePlayingOnlyKeysWithDefaultProcessingReachTheFrame) {
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

TEST_F(ViewInput, PadExitWhilePlayingStoresThePositionThenCloses) {
    FakePlayer answering("on get_time_pos reply ANS_TIME_POSITION=77\n");
    Start();
    ASSERT_TRUE(h.WaitForReady());
    Play();
    SendPadCode(View(), 0);
    EXPECT_FALSE(View().Session().IsPlaying());
    EXPECT_EQ(h.frame.closeRequests, 0);
    ASSERT_TRUE(ViewHarness::WaitFor([&] { return h.frame.closeRequests == 1; }));
    EXPECT_EQ(h.ProfileOnDisk()->ReadString(QStringLiteral("Resume0")),
              ResumeEntry(2, 77, 4096, m_A));
}

TEST_F(ViewInput, ThePadSizeMessageResizesThePad) {
    Start();
    EXPECT_EQ(View().ControlPad()->size(), QSize(153, 358));
    QCoreApplication::postEvent(&View(), new CAppEvent(WM_PAD_SIZE, 60));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(View().Settings().m_nPadSize, 60);
    EXPECT_EQ(View().ControlPad()->size(), QSize(230, 537));
}

} // namespace

namespace {

TEST(ViewPadSize, AHandEditedPadSizeNeverMakesThePadLargerThanItsPicture) {
    for (const char* stored : {"2:4:100000", "2:4:2147483647"}) {
        SCOPED_TRACE(stored);
        FakePlayer player("");
        ViewHarness h;
        h.Profile().WriteString(QStringLiteral("FontSize"), QString::fromLatin1(stored));
        CRavoloView& view = h.Start(FakePlayer::Program());
        CControlDlg& pad = *view.ControlPad();
        EXPECT_EQ(pad.size(), QSize(384, 896));
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(300, 10));
        ASSERT_TRUE(pad.isVisible());
        EXPECT_EQ(pad.geometry(), QRect(view.mapToGlobal(QPoint(300 - 192, 10 - 89)), pad.size()));
    }
}

} // namespace

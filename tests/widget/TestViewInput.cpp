// Every key of the view's key map and every pad code on the folder and resume screens, driven
// through the view as the desktop and the pad deliver them: what runs, and what the list does.
#include "controls/CControlDlg.h"
#include "platform/AppEvents.h"
#include "resources/CommandIds.h"
#include "settings/SettingsStore.h"
#include "support/FakePlayer.h"
#include "support/QtPrinters.h"
#include "support/ViewInputFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>
#include <string>

using namespace ViewTestKit;

namespace {

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

constexpr bool R = true;  // the resume screen
constexpr bool F = false; // the folder screen

class ViewInput : public ViewInputFixture {
protected:
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
    using ViewInputFixture::Walk;
    void Walk(const std::vector<std::pair<Input, ListSeen>>& rows) {
        for (const auto& [input, expected] : rows) {
            Deliver(View(), input);
            EXPECT_EQ(SeenOnList(), expected) << Describe(input);
        }
    }
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
    WalkFullScreen();
    View().OnCommand(ID_SWITCH_SCREEN);
    WalkFullScreen();
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

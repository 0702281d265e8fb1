// How long the user-interface thread is kept from its event loop during a session of keys:
// CRavoloView in a plain frame (ViewHarness) with the fake player, on the xcb platform of the
// bench's own X server, with a heartbeat timer every 2 ms. Each key is sent as the window system
// would deliver it and timed (the key's own handling), then the event loop runs for 250 ms while
// the heartbeat records its longest gap (timer ticks, the player's answers, painting, and the
// folder read that follows a stop). The floor: the heartbeat's longest gap while nothing happens.
// The program restarts itself on the X server it started: the QApplication needs the display.
#include "settings/SettingsStore.h"
#include "support/BenchFigures.h"
#include "support/FakePlayer.h"
#include "support/ProcessProbe.h"
#include "support/ViewHarness.h"
#include "support/XvfbSession.h"
#include "view/CRavoloView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QTest>
#include <QTimer>

namespace {

using BenchFigures::Format;

constexpr int kHeartbeatMs = 2;
constexpr int kSettleMs = 250;
constexpr double kBudgetMs = 100;

const QByteArray kScript = "on get_time_length reply ANS_LENGTH=120.00\n"
                           "on get_time_pos reply ANS_TIME_POSITION=65.4\n";

// The longest time between two beats of a fast timer since the last reset.
class Heartbeat {
public:
    Heartbeat() {
        m_Timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_Timer, &QTimer::timeout, [this] {
            const double now = ProcessProbe::NowMs();
            m_dLongestMs = std::max(m_dLongestMs, now - m_dLastMs);
            m_dLastMs = now;
        });
        m_Timer.start(kHeartbeatMs);
    }
    void Reset() {
        m_dLastMs = ProcessProbe::NowMs();
        m_dLongestMs = 0;
    }
    // The longest stall: the longest gap less the beat itself.
    double LongestStallMs() const { return std::max(0.0, m_dLongestMs - kHeartbeatMs); }

private:
    QTimer m_Timer;
    double m_dLastMs = ProcessProbe::NowMs();
    double m_dLongestMs = 0;
};

enum class Reads {
    Nothing,     // neither a folder nor the drives
    Folder,      // the key itself reads a folder (or the drives)
    FolderAfter, // a stop: the folder is read when the player's answer arrives
};

struct Step {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    Reads reads;
};

// A session on the folder screen of "clips" (the folder "more" first, then 200 files): move,
// play a file and use the transport keys, stop with the position stored, play it from the
// resume screen and stop without, open and leave a folder.
const Step kSession[] = {
    {"Down", Qt::Key_Down, Qt::NoModifier, Reads::Nothing},
    {"Down", Qt::Key_Down, Qt::NoModifier, Reads::Nothing},
    {"Down", Qt::Key_Down, Qt::NoModifier, Reads::Nothing},
    {"Up", Qt::Key_Up, Qt::NoModifier, Reads::Nothing},
    {"Return (play a file)", Qt::Key_Return, Qt::NoModifier, Reads::Nothing},
    {"PageUp (audio track)", Qt::Key_PageUp, Qt::NoModifier, Reads::Nothing},
    {"PageDown (subtitles)", Qt::Key_PageDown, Qt::NoModifier, Reads::Nothing},
    {"Right (faster)", Qt::Key_Right, Qt::NoModifier, Reads::Nothing},
    {"Left (slower)", Qt::Key_Left, Qt::NoModifier, Reads::Nothing},
    {"Left (slower)", Qt::Key_Left, Qt::NoModifier, Reads::Nothing},
    {"Right (faster)", Qt::Key_Right, Qt::NoModifier, Reads::Nothing},
    {"play/pause (pause)", Qt::Key_MediaTogglePlayPause, Qt::NoModifier, Reads::Nothing},
    {"Return (frame step)", Qt::Key_Return, Qt::NoModifier, Reads::Nothing},
    {"play/pause (play)", Qt::Key_MediaTogglePlayPause, Qt::NoModifier, Reads::Nothing},
    {"Ctrl+T (skip forward)", Qt::Key_T, Qt::ControlModifier, Reads::Nothing},
    {"Ctrl+S (stop, store)", Qt::Key_S, Qt::ControlModifier, Reads::FolderAfter},
    {"Tab (resume screen)", Qt::Key_Tab, Qt::NoModifier, Reads::Nothing},
    {"Return (play the entry)", Qt::Key_Return, Qt::NoModifier, Reads::Nothing},
    {"Esc (stop)", Qt::Key_Escape, Qt::NoModifier, Reads::Nothing},
    {"Tab (folder screen)", Qt::Key_Tab, Qt::NoModifier, Reads::Folder},
    {"Up", Qt::Key_Up, Qt::NoModifier, Reads::Nothing},
    {"Up", Qt::Key_Up, Qt::NoModifier, Reads::Nothing},
    {"Up", Qt::Key_Up, Qt::NoModifier, Reads::Nothing},
    {"Up", Qt::Key_Up, Qt::NoModifier, Reads::Nothing},
    {"Return (open the folder)", Qt::Key_Return, Qt::NoModifier, Reads::Folder},
    {"Left (up a folder)", Qt::Key_Left, Qt::NoModifier, Reads::Folder},
};

struct Worst {
    double ms = 0;
    std::string step;
    void Take(double value, const char* name) {
        if (value >= ms) {
            ms = value;
            step = name;
        }
    }
};

// Delivers a key press and release to the focused widget as the window system would.
double TimedKey(QWidget& window, const Step& step) {
    QWidget* target = window.focusWidget() != nullptr ? window.focusWidget() : &window;
    const double start = ProcessProbe::NowMs();
    QKeyEvent press(QEvent::KeyPress, step.key, step.modifiers);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, step.key, step.modifiers);
    QApplication::sendEvent(window.focusWidget() != nullptr ? window.focusWidget() : &window,
                            &release);
    return ProcessProbe::NowMs() - start;
}

int RunSession(int argc, char** argv) {
    QApplication app(argc, argv);
    ViewHarness h;
    FakePlayer player(kScript);
    h.MakeFile(QStringLiteral("clips/more/inside.avi"));
    for (int n = 1; n <= 200; ++n)
        h.MakeFile(QStringLiteral("clips/clip %1.avi").arg(n));
    h.Profile().WriteString(QStringLiteral("CurrentFolder"), h.Folder() + "/clips");
    h.Start(FakePlayer::Program());
    if (!h.WaitForReady()) {
        BenchFigures::PrintNote("UI stall: the fake player did not get ready");
        return 1;
    }
    Heartbeat heartbeat;
    QTest::qWait(500);
    heartbeat.Reset();
    QTest::qWait(3000);
    const double floor = heartbeat.LongestStallMs();

    Worst plainKey;
    Worst readingKey;
    Worst between;
    Worst afterStop;
    const int rounds = BenchFigures::Runs(3);
    for (int round = 0; round < rounds; ++round) {
        for (const Step& step : kSession) {
            const double handling = TimedKey(h.frame.window, step);
            (step.reads == Reads::Folder ? readingKey : plainKey).Take(handling, step.name);
            heartbeat.Reset();
            QTest::qWait(kSettleMs);
            (step.reads == Reads::FolderAfter ? afterStop : between)
                .Take(heartbeat.LongestStallMs(), step.name);
        }
    }
    const auto print = [&](const char* what, const Worst& worst, bool budgeted) {
        BenchFigures::Print(
            {Format("UI stall, %s: longest", what), worst.ms,
             "the heartbeat's longest gap while idle", floor, "ms",
             budgeted ? BenchFigures::Verdict("100 ms", worst.ms <= kBudgetMs) : std::string(),
             "at " + worst.step});
    };
    print("handling a key that reads no folder", plainKey, true);
    print("between keys (ticks, answers, painting)", between, true);
    print("handling a key that reads a folder or the drives (the read included)", readingKey,
          false);
    print("after a stop (the folder read again included)", afterStop, false);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "--in-session")
        return RunSession(argc, argv);
    QCoreApplication app(argc, argv);
    XvfbSession x;
    if (!x.IsRunning()) {
        BenchFigures::PrintNote("UI stall: skipped, Xvfb or openbox did not start");
        return 1;
    }
    QProcess session;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), x.Display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    session.setProcessEnvironment(environment);
    session.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    session.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--in-session")});
    session.waitForFinished(-1);
    return session.exitCode();
}

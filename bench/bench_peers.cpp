// Ravolo beside its peers on a display without a window manager, where a window is mapped the
// moment its program asks: a bare Qt window, the same with a 50 ms timer that does nothing,
// and mpv idle with its window (--idle --force-window --vo=x11). Ravolo runs the real MPlayer
// and is measured on its folder screen once MPlayer is ready. For each: exec to its window
// mapped (a MapNotify as an X client sees it; median of runs after a warm-up, Ravolo's taking
// turns with the bare window's), the peak of its resident memory (VmHWM), and its processor
// time over 20 s once it has settled. Every figure stands beside the bare window's, with the
// ratio.
#include "support/BenchDesktop.h"
#include "support/BenchFigures.h"
#include "support/ProcessProbe.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace {

using BenchFigures::Format;

constexpr int kIdleWindowMs = 20000;
constexpr double kMapBudgetMs = 15;       // over the bare window's map
constexpr double kIdleBudgetShare = 0.05; // percent of one core

struct Peer {
    std::string name;
    QString program;
    QStringList arguments;
    QString windowName; // the title its window is mapped with; empty: any window of it
};

struct Figures {
    std::vector<double> mapMs;
    double peakMiB = 0;
    double idleMs = 0;
    double childIdleMs = 0; // Ravolo's MPlayer
};

QProcessEnvironment Environment(BenchDesktop& desktop) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), desktop.Display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), desktop.SessionBus());
    return environment;
}

double ProcessorMsOver(pid_t pid, int ms) {
    const double before = ProcessProbe::CpuMs(pid).value_or(0);
    BenchDesktop::Sleep(ms);
    return ProcessProbe::CpuMs(pid).value_or(0) - before;
}

// One start of a peer: its map time from a measured run, and from the last run its memory and
// idle figures. False when it did not come up.
bool RunPeer(BenchDesktop& desktop, const Peer& peer, int run, int runs, Figures& figures) {
    SpawnedProgram program;
    if (!program.Start(peer.program, peer.arguments, Environment(desktop)))
        return false;
    const auto mapped = desktop.Watcher().WaitFor(
        [&](const WindowWatcher::Event& event) {
            return event.change == WindowWatcher::Change::Mapped && event.pid == program.Pid() &&
                   (peer.windowName.isEmpty() || event.name == peer.windowName);
        },
        30000);
    if (!mapped)
        return false;
    if (run >= 0)
        figures.mapMs.push_back(mapped->ms - program.StartMs());
    if (run == runs - 1) {
        BenchDesktop::WaitUntilIdle(program.Pid());
        figures.peakMiB = ProcessProbe::PeakResidentMiB(program.Pid()).value_or(0);
        figures.idleMs = ProcessorMsOver(program.Pid(), kIdleWindowMs);
    }
    program.Stop();
    return true;
}

std::optional<Figures> MeasurePeer(BenchDesktop& desktop, const Peer& peer, int runs) {
    Figures figures;
    for (int run = -1; run < runs; ++run) // run -1 warms up
        if (!RunPeer(desktop, peer, run, runs, figures))
            return std::nullopt;
    return figures;
}

bool RunRavolo(BenchDesktop& desktop, int run, int runs, Figures& figures) {
    const std::unique_ptr<RavoloUnderX> ravolo = desktop.NewProgram();
    ravolo->RemoveProfile();
    if (!ravolo->Start())
        return false;
    const auto mapped = ravolo->WaitForMainWindow(desktop.Watcher());
    if (!mapped || !ravolo->WaitForReady(desktop.Watcher()))
        return false;
    if (run >= 0)
        figures.mapMs.push_back(mapped->ms - ravolo->Program().StartMs());
    if (run == runs - 1) {
        BenchDesktop::WaitUntilIdle(ravolo->Pid());
        figures.peakMiB = ProcessProbe::PeakResidentMiB(ravolo->Pid()).value_or(0);
        const pid_t player = ravolo->PlayerPid();
        const double playerBefore = ProcessProbe::CpuMs(player).value_or(0);
        figures.idleMs = ProcessorMsOver(ravolo->Pid(), kIdleWindowMs);
        figures.childIdleMs = ProcessProbe::CpuMs(player).value_or(0) - playerBefore;
    }
    ravolo->Program().Stop();
    return true;
}

double Share(double ms) {
    return 100.0 * ms / kIdleWindowMs;
}

void PrintPeer(const std::string& name, const Figures& figures, const Figures& bare, bool budgets) {
    const std::string floorName = "a bare Qt window";
    const double map = BenchFigures::Median(figures.mapMs);
    const double bareMap = BenchFigures::Median(bare.mapMs);
    BenchFigures::Print({name + ": exec to its window mapped", map, floorName, bareMap, "ms",
                         budgets
                             ? Format("%+.1f ms, ", map - bareMap) +
                                   BenchFigures::Verdict(Format("floor + %.0f ms", kMapBudgetMs),
                                                         map - bareMap <= kMapBudgetMs)
                             : std::string()});
    // The budget of the peak is judged in bench_memory.
    BenchFigures::Print({name + ": peak resident memory", figures.peakMiB, floorName, bare.peakMiB,
                         "MiB", Format("%+.1f MiB", figures.peakMiB - bare.peakMiB)});
    BenchFigures::Print(
        {name + ": processor time in 20 s, settled", figures.idleMs, floorName, bare.idleMs, "ms",
         Format("%.3f %% of one core", Share(figures.idleMs)) +
             (budgets ? ", " + BenchFigures::Verdict(Format("%.2f %%", kIdleBudgetShare),
                                                     Share(figures.idleMs) <= kIdleBudgetShare)
                      : std::string())});
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    BenchDesktop desktop(false);
    if (!desktop.IsReady("peers"))
        return 1;
    desktop.Sandbox().WriteMPlayerConfig(QStringLiteral("ao=null\n"));
    const int runs = BenchFigures::Runs(5);
    const QString bareWindow = QStringLiteral(RAVOLO_BARE_WINDOW_PATH);
    const QString barename = QStringLiteral("bare window");
    // The bare window and Ravolo take turns, so that a machine that speeds up or slows down
    // during the run moves the floor and the figure alike.
    const Peer barePeer{"", bareWindow, {}, barename};
    Figures bare, ravolo;
    bool ravoloUp = true;
    for (int run = -1; run < runs; ++run) {
        if (!RunPeer(desktop, barePeer, run, runs, bare)) {
            BenchFigures::PrintNote("peers: the bare window did not come up");
            return 1;
        }
        ravoloUp = ravoloUp && RunRavolo(desktop, run, runs, ravolo);
    }
    if (ravoloUp) {
        PrintPeer("Ravolo (folder screen, MPlayer ready)", ravolo, bare, true);
        BenchFigures::PrintNote(Format("  (its MPlayer meanwhile: %.1f ms, %.3f %% of one core)",
                                       ravolo.childIdleMs, Share(ravolo.childIdleMs)));
    } else {
        BenchFigures::PrintNote("peers: Ravolo did not come up");
    }
    const std::vector<Peer> peers = {
        {"bare Qt window with a 50 ms timer", bareWindow, {"--tick", "50"}, barename},
        {"mpv --idle --force-window --vo=x11",
         QStandardPaths::findExecutable(QStringLiteral("mpv")),
         {"--idle", "--force-window", "--vo=x11"},
         QString()},
    };
    for (const Peer& peer : peers) {
        if (const std::optional<Figures> figures = MeasurePeer(desktop, peer, runs))
            PrintPeer(peer.name, *figures, bare, false);
        else
            BenchFigures::PrintNote("peers: " + peer.name + " did not come up");
    }
    return ravoloUp ? 0 : 1;
}

// Idle cost: the processor time the real program uses in 20 s on the folder list screen, in
// 20 s of playback and in 20 s of paused playback (the real MPlayer, a clip made with ffmpeg;
// MPlayer's own share apart), under Xvfb with openbox, beside the floor measured over the same
// 20 s: a bare Qt window, which sleeps until an event comes. Processor time is read from the
// kernel's CPU clock of the process (every thread, nanoseconds) and from utime + stime of
// /proc/<pid>/stat (clock ticks).
#include "settings/SettingsStore.h"
#include "support/BenchDesktop.h"
#include "support/BenchFigures.h"
#include "support/KeyPresser.h"
#include "support/ProcessProbe.h"
#include "support/TestMedia.h"

#include <QCoreApplication>

namespace {

using BenchFigures::Format;

constexpr int kWindowMs = 20000;
constexpr double kBudgetShare = 0.0005; // of one core

struct Usage {
    std::vector<double> cpuMs;
    std::vector<double> statMs;
    std::vector<double> floorMs;
};

// Several windows of 10 s, the program and the floor side by side.
Usage MeasureWindows(pid_t program, pid_t floor, int windows) {
    Usage usage;
    for (int window = 0; window < windows; ++window) {
        const std::optional<double> cpu = ProcessProbe::CpuMs(program);
        const std::optional<double> stat = ProcessProbe::StatCpuMs(program);
        const std::optional<double> floorCpu = ProcessProbe::CpuMs(floor);
        BenchDesktop::Sleep(kWindowMs);
        usage.cpuMs.push_back(ProcessProbe::CpuMs(program).value_or(0) - cpu.value_or(0));
        usage.statMs.push_back(ProcessProbe::StatCpuMs(program).value_or(0) - stat.value_or(0));
        usage.floorMs.push_back(ProcessProbe::CpuMs(floor).value_or(0) - floorCpu.value_or(0));
    }
    return usage;
}

void PrintUsage(const char* screen, const Usage& usage) {
    const double cpu = BenchFigures::Median(usage.cpuMs);
    const double budgetMs = kBudgetShare * kWindowMs;
    BenchFigures::Print(
        {Format("idle cost, %s: processor time in 20 s", screen), cpu, "a bare Qt window",
         BenchFigures::Median(usage.floorMs), "ms",
         Format("%.3f %% of one core, ", 100.0 * cpu / kWindowMs) +
             BenchFigures::Verdict(Format("0.05 %% of one core, %.0f ms in 20 s", budgetMs),
                                   cpu <= budgetMs),
         Format("most in one window %.1f ms; from /proc/<pid>/stat %.0f ms",
                BenchFigures::Max(usage.cpuMs), BenchFigures::Median(usage.statMs))});
}

// The program's own share, and MPlayer's beside it.
void MeasureWithPlayer(const char* screen, pid_t program, pid_t player, pid_t floor, int windows) {
    const double playerBefore = ProcessProbe::CpuMs(player).value_or(0);
    PrintUsage(screen, MeasureWindows(program, floor, windows));
    BenchFigures::PrintNote(Format("  (MPlayer meanwhile: %.1f ms of processor time)",
                                   ProcessProbe::CpuMs(player).value_or(0) - playerBefore));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    BenchDesktop desktop;
    if (!desktop.IsReady("idle cost"))
        return 1;
    desktop.Sandbox().WriteMPlayerConfig(QStringLiteral("vo=x11\nao=null\n"));
    const QString media = desktop.Folder(QStringLiteral("media"));
    if (!TestMedia::MakeClip(media + QStringLiteral("/clip.avi"), 120)) {
        BenchFigures::PrintNote("idle cost: skipped, ffmpeg could not make the clip");
        return 1;
    }
    const int windows = BenchFigures::Runs(2);

    SpawnedProgram floor;
    if (!desktop.StartBareWindow(floor, {}))
        return 1;
    const std::unique_ptr<RavoloUnderX> ravolo = desktop.NewProgram();
    ravolo->Profile()->WriteString(QStringLiteral("CurrentFolder"), media);
    const std::optional<uint32_t> window = ravolo->StartAndWaitUntilReady(desktop.Watcher());
    if (!window) {
        BenchFigures::PrintNote("idle cost: the program did not start");
        return 1;
    }
    KeyPresser keys(desktop.Display());
    keys.Activate(*window);
    BenchDesktop::Sleep(2000); // the warm-up
    PrintUsage("folder list screen", MeasureWindows(ravolo->Pid(), floor.Pid(), windows));

    keys.Key("Return");
    if (!desktop.WaitForTitle(*window, QStringLiteral("clip.avi - Ravolo"))) {
        BenchFigures::PrintNote("idle cost: the clip did not start");
        return 1;
    }
    BenchDesktop::Sleep(1500);
    const pid_t player = ravolo->PlayerPid();
    MeasureWithPlayer("playback", ravolo->Pid(), player, floor.Pid(), windows);
    keys.Key("XF86AudioPlay");
    // Mute, then pause three ticks later; then MPlayer stops drawing.
    BenchDesktop::Sleep(2000);
    MeasureWithPlayer("paused playback", ravolo->Pid(), player, floor.Pid(), windows);
    return 0;
}

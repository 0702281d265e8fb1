// Start-up of the real program under Xvfb with openbox, a session bus and the real MPlayer, with
// an empty profile and with a full resume list (30 entries):
// - from the exec to the main window mapped, beside the floor: the exec of a bare Qt program
//   to its empty window mapped, measured in the same run (bare_window);
// - from the exec to MPlayer Ready, beside the floor: the moment MPlayer's own processor use
//   has fallen idle, read from its CPU clock every 2 ms.
// Windows are watched as a separate X client sees them (WindowWatcher). Ready is observed as
// the program shows it: the wait dialog "お待ちください" is hidden in the very timer tick that
// finds MPlayer Ready, so its unmap is Ready to within the time the X server needs to pass it.
#include "settings/MediaItem.h"
#include "settings/ProfileFormat.h"
#include "settings/ResumeList.h"
#include "settings/SettingsStore.h"
#include "support/BenchDesktop.h"
#include "support/BenchFigures.h"
#include "support/ProcessProbe.h"

#include <QCoreApplication>
#include <QFile>

namespace {

using BenchFigures::Format;

constexpr double kMapBudgetMs = 150;   // over the bare window's map
constexpr double kReadyBudgetMs = 400; // one readiness window after MPlayer fell idle
// MPlayer counts as busy at a sample where it used more than a tenth of a core over the
// preceding 20 ms; idle it uses about 0.3 %.
constexpr double kBusyWindowMs = 20;
constexpr double kBusyShare = 0.1;

struct CpuSample {
    double ms;
    double cpuMs;
};

// The end of MPlayer's last busy stretch before `until`: the last sample at which it was busy.
double IdleMoment(const std::vector<CpuSample>& samples, double until) {
    double idle = samples.empty() ? until : samples.front().ms;
    size_t from = 0;
    for (size_t i = 0; i < samples.size() && samples[i].ms <= until; ++i) {
        while (samples[i].ms - samples[from].ms > kBusyWindowMs)
            ++from;
        const double span = samples[i].ms - samples[from].ms;
        if (span > 0 && samples[i].cpuMs - samples[from].cpuMs > kBusyShare * span)
            idle = samples[i].ms;
    }
    return idle;
}

struct MapTimes {
    std::vector<double> mapMs;
    std::vector<double> cpuMs; // the program's processor time when its window was mapped
};

MapTimes MeasureBareWindow(BenchDesktop& desktop, int runs) {
    MapTimes times;
    for (int run = -1; run < runs; ++run) {
        SpawnedProgram bare;
        const std::optional<WindowWatcher::Event> mapped = desktop.StartBareWindow(bare, {});
        const double cpu = ProcessProbe::CpuMs(bare.Pid()).value_or(0);
        if (mapped && run >= 0) {
            times.mapMs.push_back(mapped->ms - bare.StartMs());
            times.cpuMs.push_back(cpu);
        }
        bare.Stop();
    }
    return times;
}

struct StartTimes : MapTimes {
    std::vector<double> readyMs;        // exec to Ready
    std::vector<double> idleMs;         // exec to MPlayer idle
    std::vector<double> readyAfterIdle; // per run
    std::vector<double> playerCpuMs;    // MPlayer's processor time up to idle
};

void PrepareProfile(RavoloUnderX& ravolo, const QString& mediaFolder, bool fullResumeList) {
    ravolo.RemoveProfile();
    if (!fullResumeList)
        return;
    std::unique_ptr<SettingsStore> profile = ravolo.Profile();
    for (int i = 0; i < ResumeList::ResumeCapacity; ++i) {
        MediaItem entry{mediaFolder + QStringLiteral("/episode %1.avi").arg(i + 1),
                        MediaItemKind::File};
        entry.fileSize = 4096;
        entry.positionSec = static_cast<uint32_t>(60 * (i + 1));
        profile->WriteString(ResumeList::ResumeKey(i), FormatResumeEntry(entry));
    }
    profile->Sync();
}

// One start: waits for the main window and for Ready while sampling MPlayer's CPU clock.
void MeasureStart(RavoloUnderX& ravolo, WindowWatcher& watcher, StartTimes& times, bool keep) {
    if (!ravolo.Start())
        return;
    const double exec = ravolo.Program().StartMs();
    std::optional<double> mapped;
    double cpuAtMap = 0;
    pid_t player = 0;
    std::vector<CpuSample> samples;
    const auto sample = [&] {
        if (player == 0)
            player = ravolo.PlayerPid();
        if (player != 0)
            if (const std::optional<double> cpu = ProcessProbe::CpuMs(player))
                samples.push_back({ProcessProbe::NowMs(), *cpu});
    };
    const auto ready = watcher.WaitFor(
        [&](const WindowWatcher::Event& event) {
            if (event.pid != ravolo.Pid())
                return false;
            if (event.change == WindowWatcher::Change::Mapped &&
                event.name == RavoloUnderX::kMainTitle && !mapped) {
                mapped = event.ms;
                cpuAtMap = ProcessProbe::CpuMs(ravolo.Pid()).value_or(0);
            }
            return event.change == WindowWatcher::Change::Unmapped &&
                   event.name == QString::fromUtf8(RavoloUnderX::kWaitTitle);
        },
        30000, sample);
    if (keep && mapped && ready) {
        const double idle = IdleMoment(samples, ready->ms);
        if (qEnvironmentVariableIsSet("RAVOLO_BENCH_VERBOSE"))
            BenchFigures::PrintNote(Format(
                "  run: map %.1f, player found %.1f, idle %.1f, ready %.1f ms after exec; %zu "
                "samples, player's processor time at Ready %.1f ms",
                *mapped - exec, samples.empty() ? -1.0 : samples.front().ms - exec, idle - exec,
                ready->ms - exec, samples.size(), samples.empty() ? 0.0 : samples.back().cpuMs));
        times.mapMs.push_back(*mapped - exec);
        times.cpuMs.push_back(cpuAtMap);
        times.readyMs.push_back(ready->ms - exec);
        times.idleMs.push_back(idle - exec);
        times.readyAfterIdle.push_back(ready->ms - idle);
        double playerCpu = 0;
        for (const CpuSample& s : samples)
            if (s.ms <= idle)
                playerCpu = s.cpuMs;
        times.playerCpuMs.push_back(playerCpu);
    }
    ravolo.Program().Stop();
}

void PrintStart(const char* profileName, const StartTimes& times, const MapTimes& bare) {
    using BenchFigures::Median;
    if (times.mapMs.empty()) {
        BenchFigures::PrintNote(Format("start-up, %s: no run completed", profileName));
        return;
    }
    std::vector<double> overFloor;
    const double floorMap = Median(bare.mapMs);
    for (double map : times.mapMs)
        overFloor.push_back(map - floorMap);
    const double over = Median(overFloor);
    BenchFigures::Print({Format("start-up, %s: exec to main window mapped", profileName),
                         Median(times.mapMs), "exec to a bare Qt window mapped", floorMap, "ms",
                         Format("%.1f ms over the floor, ", over) +
                             BenchFigures::Verdict("150 ms over the floor", over <= kMapBudgetMs),
                         Format("processor time to the map %.1f ms, floor %.1f ms",
                                Median(times.cpuMs), Median(bare.cpuMs))});
    const double afterIdle = Median(times.readyAfterIdle);
    BenchFigures::Print(
        {Format("start-up, %s: exec to MPlayer Ready", profileName), Median(times.readyMs),
         "exec to MPlayer idle", Median(times.idleMs), "ms",
         Format("Ready %.1f ms after MPlayer fell idle (longest %.1f ms), ", afterIdle,
                BenchFigures::Max(times.readyAfterIdle)) +
             BenchFigures::Verdict("one readiness window, 400 ms", afterIdle <= kReadyBudgetMs),
         Format("MPlayer's processor time until idle %.1f ms", Median(times.playerCpuMs))});
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    BenchDesktop desktop;
    if (!desktop.IsReady("start-up"))
        return 1;
    const int runs = BenchFigures::Runs(7);
    const MapTimes bare = MeasureBareWindow(desktop, runs);
    const QString media = desktop.Folder(QStringLiteral("media"));
    for (int i = 1; i <= ResumeList::ResumeCapacity; ++i) {
        QFile file(media + QStringLiteral("/episode %1.avi").arg(i));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(4096, 'x'));
    }
    for (const bool fullResumeList : {false, true}) {
        StartTimes times;
        for (int run = -1; run < runs; ++run) {
            const std::unique_ptr<RavoloUnderX> ravolo = desktop.NewProgram();
            PrepareProfile(*ravolo, media, fullResumeList);
            MeasureStart(*ravolo, desktop.Watcher(), times, run >= 0);
        }
        PrintStart(fullResumeList ? "30-entry resume list" : "empty profile", times, bare);
    }
    return 0;
}

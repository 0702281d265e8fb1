// Memory: the real program's resident memory (VmRSS) under Xvfb with the fake player, its peak
// (VmHWM) once started beside the bare window's, and its resident memory after the start, after
// listing a folder of 100,000 media files, and after 50 plays and stops of a file of that folder
// (each stop reads the folder again); the plays must not make it grow. The floor is a bare Qt
// program showing an empty window.
#include "settings/SettingsStore.h"
#include "support/BenchDesktop.h"
#include "support/BenchFigures.h"
#include "support/FakePlayer.h"
#include "support/FakePlayerRecord.h"
#include "support/KeyPresser.h"
#include "support/ProcessProbe.h"

#include <QCoreApplication>
#include <QFile>
#include <fcntl.h>
#include <unistd.h>

namespace {

using BenchFigures::Format;

constexpr int kMediaFiles = 100000;
constexpr int kPlays = 50;
// Growth: the median after the last ten plays against the median after plays 11 to 20 (the
// heap's own ups and downs are a few MiB from one play to the next).
constexpr int kSpan = 10;
constexpr double kGrowthToleranceMiB = 1.0;
constexpr double kPeakBudgetMiB = 16; // over the bare window's peak

const QByteArray kScript = "on get_time_length reply ANS_LENGTH=120.00\n"
                           "on get_time_pos reply ANS_TIME_POSITION=65.4\n";

// "clip 1.avi" .. in a folder "big": only the first, the one played, has content.
void MakeBigFolder(const QString& folder) {
    const QByteArray base = QFile::encodeName(folder) + "/clip ";
    for (int n = 1; n <= kMediaFiles; ++n) {
        const int fd =
            open((base + QByteArray::number(n) + ".avi").constData(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0 && n == 1)
            (void)!write(fd, QByteArray(4096, 'x').constData(), 4096);
        if (fd >= 0)
            close(fd);
    }
}

bool WaitForCommands(const FakePlayerRecord& record, qsizetype count) {
    const double until = ProcessProbe::NowMs() + 20000;
    while (record.Commands().size() < count) {
        if (ProcessProbe::NowMs() > until)
            return false;
        BenchDesktop::Sleep(10);
    }
    return true;
}

double ResidentAfterSettling(pid_t pid) {
    BenchDesktop::WaitUntilIdle(pid);
    return ProcessProbe::ResidentMiB(pid).value_or(0);
}

struct Resident {
    double peakAfterStart = 0;
    double started = 0;
    double listed = 0;
    std::vector<double> afterPlay; // after each play and stop
    double Early() const {
        return BenchFigures::Median({afterPlay.begin() + kSpan, afterPlay.begin() + 2 * kSpan});
    }
    double Late() const { return BenchFigures::Median({afterPlay.end() - kSpan, afterPlay.end()}); }
};

// Says at which step the session stopped, so that a failed run tells where to look.
std::nullopt_t Incomplete(const std::string& step) {
    BenchFigures::PrintNote("memory: the session did not complete: " + step);
    return std::nullopt;
}

std::optional<Resident> MeasureProgram(BenchDesktop& desktop) {
    const QString parent = desktop.Folder(QStringLiteral("media"));
    MakeBigFolder(desktop.Folder(QStringLiteral("media/big")));
    const QString recordPath = desktop.Folder(QStringLiteral("record")) + "/commands.txt";
    const std::unique_ptr<RavoloUnderX> ravolo = desktop.NewProgram();
    ravolo->SetVariable(QStringLiteral("RAVOLO_FAKE_SCRIPT"), QString::fromUtf8(kScript));
    ravolo->SetVariable(QStringLiteral("RAVOLO_FAKE_RECORD"), recordPath);
    {
        const std::unique_ptr<SettingsStore> profile = ravolo->Profile();
        profile->WriteString(QStringLiteral("CurrentFolder"), parent);
        profile->SavePlayerPath(FakePlayer::Program());
    }
    const std::optional<uint32_t> window = ravolo->StartAndWaitUntilReady(desktop.Watcher());
    if (!window)
        return Incomplete("the window or MPlayer did not come up");
    Resident resident;
    const pid_t pid = ravolo->Pid();
    resident.started = ResidentAfterSettling(pid);
    resident.peakAfterStart = ProcessProbe::PeakResidentMiB(pid).value_or(0);
    KeyPresser keys(desktop.Display());
    keys.Activate(*window);
    BenchDesktop::Sleep(500);
    keys.Key("Return"); // the folder "big"
    BenchDesktop::Sleep(500);
    resident.listed = ResidentAfterSettling(pid);

    const FakePlayerRecord record(recordPath);
    for (int play = 1; play <= kPlays; ++play) {
        const qsizetype before = record.Commands().size();
        keys.Key("Return");
        if (!WaitForCommands(record, before + 2)) // loadfile, get_time_length
            return Incomplete(Format("play %d: Return started nothing", play));
        BenchDesktop::Sleep(150);
        // Half of the stops store the position, half do not.
        const char* stopKey = play % 2 != 0 ? "ctrl+s" : "Escape";
        keys.Key(stopKey);
        if (!WaitForCommands(record, before + 4)) // get_time_pos, stop
            return Incomplete(Format("play %d: %s stopped nothing", play, stopKey));
        BenchDesktop::Sleep(300);
        resident.afterPlay.push_back(ResidentAfterSettling(pid));
    }
    std::string trace = "  resident after each play (MiB):";
    for (const double value : resident.afterPlay)
        trace += Format(" %.1f", value);
    BenchFigures::PrintNote(trace);
    ravolo->Program().Stop();
    return resident;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    BenchDesktop desktop;
    if (!desktop.IsReady("memory"))
        return 1;
    SpawnedProgram bare;
    if (!desktop.StartBareWindow(bare, {}))
        return 1;
    const double floor = ResidentAfterSettling(bare.Pid());
    const double floorPeak = ProcessProbe::PeakResidentMiB(bare.Pid()).value_or(0);
    bare.Stop();
    const std::optional<Resident> resident = MeasureProgram(desktop);
    if (!resident)
        return 1;
    const std::string floorName = "a bare Qt window";
    const double peakOver = resident->peakAfterStart - floorPeak;
    BenchFigures::Print({"memory, peak resident after the start", resident->peakAfterStart,
                         floorName, floorPeak, "MiB",
                         Format("%+.1f MiB, ", peakOver) +
                             BenchFigures::Verdict(Format("floor + %.0f MiB", kPeakBudgetMiB),
                                                   peakOver <= kPeakBudgetMiB)});
    BenchFigures::Print(
        {"memory, resident after the start", resident->started, floorName, floor, "MiB"});
    BenchFigures::Print({"memory, resident after listing 100,000 media files", resident->listed,
                         floorName, floor, "MiB"});
    const double growth = resident->Late() - resident->Early();
    BenchFigures::Print(
        {Format("memory, resident after %d plays and stops", kPlays), resident->afterPlay.back(),
         floorName, floor, "MiB",
         Format("%+.1f MiB from plays %d-%d to plays %d-%d (medians), ", growth, kSpan + 1,
                2 * kSpan, kPlays - kSpan + 1, kPlays) +
             BenchFigures::Verdict(
                 Format("no growth across the plays (within %.0f MiB)", kGrowthToleranceMiB),
                 growth <= kGrowthToleranceMiB)});
    return 0;
}

// Latency: from a key pressed on the real program (XTest through xdotool under Xvfb, stamped
// on the monotonic clock as it is handed over) to the slave command arriving at the player (the
// fake player stamps each command's arrival on the same clock). Commands are written one per
// 50 ms tick, so a key's first command waits up to one tick and its second one tick more. The
// floor: the same keys, with the same spacing, to a bare Qt window that stamps their arrival.
#include "settings/SettingsStore.h"
#include "support/BenchDesktop.h"
#include "support/BenchFigures.h"
#include "support/FakePlayer.h"
#include "support/FakePlayerRecord.h"
#include "support/KeyPresser.h"
#include "support/ProcessProbe.h"

#include <QCoreApplication>
#include <QFile>
#include <random>

namespace {

using BenchFigures::Format;

constexpr double kTickMs = 50;

const QByteArray kScript = "on get_time_length reply ANS_LENGTH=120.00\n"
                           "on get_time_pos reply ANS_TIME_POSITION=65.4\n";

// A key and how many commands it queues on the screen it is pressed on.
struct KeyStep {
    QByteArray key;
    int commands;
};

// One round: play the selected file (load, length), switch the audio track and the subtitles,
// seek to the start, stop without storing (position, stop).
const KeyStep kRound[] = {
    {"Return", 2}, {"Prior", 1}, {"Next", 1}, {"BackSpace", 1}, {"Escape", 2}};

// Between keys, so that presses fall at every phase of the tick.
class Spacing {
public:
    int NextMs() { return std::uniform_int_distribution<int>(120, 260)(m_Generator); }

private:
    std::mt19937 m_Generator{7};
};

struct Latencies {
    std::vector<double> first;  // key to its first command (queue position 0)
    std::vector<double> second; // key to its second command (queue position 1)
};

bool WaitForCount(const std::function<qsizetype()>& count, qsizetype wanted, int timeoutMs) {
    const double until = ProcessProbe::NowMs() + timeoutMs;
    while (count() < wanted) {
        if (ProcessProbe::NowMs() > until)
            return false;
        BenchDesktop::Sleep(2);
    }
    return true;
}

Latencies MeasureProgram(BenchDesktop& desktop, int rounds) {
    Latencies latencies;
    const QString clips = desktop.Folder(QStringLiteral("clips"));
    for (const char* name : {"a.avi", "b.avi", "c.avi"}) {
        QFile file(clips + QLatin1Char('/') + QLatin1String(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(4096, 'x'));
    }
    const QString recordPath = desktop.Folder(QStringLiteral("record")) + "/commands.txt";
    const std::unique_ptr<RavoloUnderX> ravolo = desktop.NewProgram();
    ravolo->SetVariable(QStringLiteral("RAVOLO_FAKE_SCRIPT"), QString::fromUtf8(kScript));
    ravolo->SetVariable(QStringLiteral("RAVOLO_FAKE_RECORD"), recordPath);
    {
        const std::unique_ptr<SettingsStore> profile = ravolo->Profile();
        profile->WriteString(QStringLiteral("CurrentFolder"), clips);
        profile->SavePlayerPath(FakePlayer::Program());
    }
    const std::optional<uint32_t> window = ravolo->StartAndWaitUntilReady(desktop.Watcher());
    if (!window) {
        BenchFigures::PrintNote("latency: the program did not start");
        return latencies;
    }
    KeyPresser keys(desktop.Display());
    keys.Activate(*window);
    BenchDesktop::Sleep(500);
    const FakePlayerRecord record(recordPath);
    const auto commands = [&] { return record.Commands().size(); };
    Spacing spacing;
    for (int round = -1; round < rounds; ++round) { // round -1 warms up
        for (const KeyStep& step : kRound) {
            const qsizetype before = commands();
            const double pressed = keys.Key(step.key);
            if (!WaitForCount(commands, before + step.commands, 5000)) {
                BenchFigures::PrintNote("latency: no command for " + step.key.toStdString());
                return latencies;
            }
            const QList<FakeRecordEntry> arrived = record.Commands().mid(before);
            if (round >= 0) {
                latencies.first.push_back(static_cast<double>(arrived[0].ms) - pressed);
                if (step.commands > 1)
                    latencies.second.push_back(static_cast<double>(arrived[1].ms) - pressed);
            }
            BenchDesktop::Sleep(spacing.NextMs());
        }
        BenchDesktop::Sleep(300); // the stop's answer brings the list back
    }
    ravolo->Program().Stop();
    return latencies;
}

// The same keys with the same spacing to the bare window, which stamps their arrival.
std::vector<double> MeasureFloor(BenchDesktop& desktop, int rounds) {
    std::vector<double> latencies;
    const QString echoPath = desktop.Folder(QStringLiteral("record")) + "/keys.txt";
    if (QFile file(echoPath); !file.open(QIODevice::WriteOnly)) // counting starts at one line
        return latencies;
    SpawnedProgram bare;
    const auto mapped = desktop.StartBareWindow(bare, {QStringLiteral("--echo-keys"), echoPath});
    if (!mapped)
        return latencies;
    KeyPresser keys(desktop.Display());
    keys.Activate(mapped->window);
    const auto echoed = [&] {
        QFile file(echoPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
    };
    const auto count = [&] { return echoed().size(); };
    BenchDesktop::Sleep(500);
    Spacing spacing;
    for (int round = -1; round < rounds; ++round) {
        for (const KeyStep& step : kRound) {
            const qsizetype before = count();
            const double pressed = keys.Key(step.key);
            if (!WaitForCount(count, before + 1, 5000)) {
                BenchFigures::PrintNote("latency: the bare window got no " +
                                        step.key.toStdString());
                return latencies;
            }
            if (round >= 0)
                latencies.push_back(echoed()[before - 1].toDouble() - pressed);
            BenchDesktop::Sleep(spacing.NextMs());
        }
    }
    return latencies;
}

void PrintLatency(const char* which, const std::vector<double>& latencies,
                  const std::vector<double>& floor, int position) {
    const double median = BenchFigures::Median(latencies);
    const double budget = kTickMs * (position + 1);
    BenchFigures::Print(
        {Format("latency, key to the %s command it queues (queue position %d)", which, position),
         median, "key to a bare Qt window", BenchFigures::Median(floor), "ms",
         BenchFigures::Verdict(Format("%.0f ms", budget), median <= budget),
         Format("longest %.1f ms, %zu keys; arrival stamped to the millisecond",
                BenchFigures::Max(latencies), latencies.size())});
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    BenchDesktop desktop;
    if (!desktop.IsReady("latency"))
        return 1;
    const int rounds = BenchFigures::Runs(16);
    const std::vector<double> floor = MeasureFloor(desktop, rounds);
    const Latencies latencies = MeasureProgram(desktop, rounds);
    if (floor.empty() || latencies.first.empty()) {
        BenchFigures::PrintNote("latency: a key did not arrive");
        return 1;
    }
    PrintLatency("first", latencies.first, floor, 0);
    PrintLatency("second", latencies.second, floor, 1);
    return 0;
}

// Reading a folder level: FolderScanner::ScanFolder, and FolderScreen::FillFolderList filling a
// CColorListCtrl laid out as the view lays it out, beside the floor, a bare readdir, stat,
// extension filter and natural sort of the same folder in plain C++, measured in the same run
// at 1,000, 10,000 and 100,000 media files, in wall time, processor time and the program's own
// work beyond the system calls; then how the time per file grows against the floor's growth.
// Usage: bench_folder_level [folder to make the test levels in (default: the temporary folder)
//                           [media file counts (default: 1000 10000 100000)]]
#include "controls/CColorListCtrl.h"
#include "controls/CImageList.h"
#include "settings/MediaItem.h"
#include "settings/ResumeList.h"
#include "settings/ViewSettings.h"
#include "support/BenchFigures.h"
#include "support/ScriptedPrompter.h"
#include "view/FolderScanner.h"
#include "view/FolderScreen.h"
#include "view/ViewState.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace {

const QString kVideo = "avi;mov;mpg;mpeg;wmv;mp4;m4v;flv;ogm;divx";
const QString kAudio = "mp3;aac;ac3;wma;m4a;aif;wav;oga;rm;flac;fla";
constexpr int kResumeEntries = 30; // a full resume list

// ---- the level: media files, some other files, sub-folders and hidden entries

// A file of size bytes, sparse: it takes no room on the disk.
void Touch(const std::string& path, off_t size) {
    const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    if (ftruncate(fd, size) != 0)
        std::perror("ftruncate");
    close(fd);
}

std::vector<std::string> MediaNames(int count) {
    static const char* const kExtensions[] = {"mp4", "AVI", "mkv.mp4", "mp3", "flac", "M4V"};
    std::vector<std::string> names;
    for (int n = 0; n < count; ++n)
        names.push_back("Show " + std::to_string(n % 97) + " Episode " + std::to_string(n) + "." +
                        kExtensions[n % std::size(kExtensions)]);
    return names;
}

void MakeLevel(const std::string& folder, int mediaCount) {
    std::vector<std::string> names = MediaNames(mediaCount);
    for (int n = 0; n < mediaCount / 100; ++n)
        names.push_back("notes " + std::to_string(n) + (n % 2 ? ".txt" : ""));
    for (int n = 0; n < 10; ++n)
        names.push_back(".hidden " + std::to_string(n) + ".mp4");
    std::shuffle(names.begin(), names.end(), std::mt19937(42));
    // Sizes as media files have, shown in K and M: from 1 to 997 MiB.
    for (size_t n = 0; n < names.size(); ++n)
        Touch(folder + "/" + names[n], static_cast<off_t>(n % 997 + 1) << 20);
    for (int n = 0; n < mediaCount / 1000 + 5; ++n)
        mkdir((folder + "/Season " + std::to_string(n)).c_str(), 0755);
}

// ---- the floor

struct FloorEntry {
    std::string key;
    uint64_t size;
};

std::string Lowered(const char* text) {
    std::string lowered(text);
    for (char& c : lowered)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lowered;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool NaturalLess(const std::string& a, const std::string& b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            while (i < a.size() && a[i] == '0')
                ++i;
            while (j < b.size() && b[j] == '0')
                ++j;
            const size_t startA = i;
            const size_t startB = j;
            while (i < a.size() && IsDigit(a[i]))
                ++i;
            while (j < b.size() && IsDigit(b[j]))
                ++j;
            if (i - startA != j - startB)
                return i - startA < j - startB;
            if (const int order = a.compare(startA, i - startA, b, startB, j - startB))
                return order < 0;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

bool IsMedia(const dirent& entry, const std::unordered_set<std::string>& extensions) {
    const char* dot = std::strrchr(entry.d_name, '.');
    return entry.d_type != DT_DIR && dot != nullptr && extensions.contains(Lowered(dot + 1));
}

size_t FloorScan(const std::string& folder, const std::unordered_set<std::string>& extensions) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return 0;
    std::vector<FloorEntry> folders;
    std::vector<FloorEntry> files;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        if (entry->d_type == DT_DIR) {
            folders.push_back({Lowered(entry->d_name), 0});
            continue;
        }
        struct stat status {};
        if (!IsMedia(*entry, extensions) || fstatat(dirfd(dir), entry->d_name, &status, 0) != 0)
            continue;
        files.push_back({Lowered(entry->d_name), static_cast<uint64_t>(status.st_size)});
    }
    closedir(dir);
    const auto less = [](const FloorEntry& a, const FloorEntry& b) {
        return NaturalLess(a.key, b.key);
    };
    std::stable_sort(folders.begin(), folders.end(), less);
    std::stable_sort(files.begin(), files.end(), less);
    return folders.size() + files.size();
}

// ---- the system calls alone

// The names of the level's media files as readdir gives them, read untimed.
std::vector<std::string> MediaNamesAsRead(const std::string& folder,
                                          const std::unordered_set<std::string>& extensions) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return names;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.' && IsMedia(*entry, extensions))
            names.emplace_back(entry->d_name);
    }
    closedir(dir);
    return names;
}

// What every reading of the level asks of the kernel and nothing else: every entry read, every
// media file's status. Its processor time stands for the kernel's share of a reading, precisely,
// where the kernel's own split of user and system time is sampled at every tick (4 ms here).
void SystemCallsAlone(const std::string& folder, const std::vector<std::string>& mediaNames) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return;
    while (readdir(dir) != nullptr) {
    }
    for (const std::string& name : mediaNames) {
        struct stat status {};
        fstatat(dirfd(dir), name.c_str(), &status, 0);
    }
    closedir(dir);
}

// ---- the folder screen as the view has it

// A CColorListCtrl in a shown window with the view's columns, row font and icons, under the
// FolderScreen that fills it.
class ShownFolderScreen {
public:
    ShownFolderScreen() {
        m_Settings.m_strExtFilterV = kVideo;
        m_Settings.m_strExtFilterA = kAudio;
        m_Icons.Load(QStringLiteral(":/artwork/icons20.png"), 20);
        QFont rowFont;
        rowFont.setPixelSize(16);
        QFont headerFont;
        headerFont.setPixelSize(12);
        m_List.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_List.SetColumnCount(2);
        m_List.InsertColumn(0, QStringLiteral("File"));
        m_List.InsertColumn(1, QStringLiteral("Size"));
        m_List.SetRowFont(rowFont);
        m_List.SetHeaderFont(headerFont);
        m_List.SetStateImageList(&m_Icons);
        m_View.resize(800, 600);
        m_List.setGeometry(0, 40, 800, 560);
        m_List.SetColumnWidth(0, 620);
        m_List.SetColumnWidth(1, 160);
        m_View.show();
    }

    ResumeList& Resume() { return m_ResumeList; }
    // The folder the next fill reads.
    void SetFolder(const QString& folder) { m_Settings.m_strCurrentFolder = folder; }
    void Fill() { m_Screen.FillFolderList(); }
    // Shows folder, untimed.
    void Show(const QString& folder) {
        SetFolder(folder);
        Fill();
    }
    // Lays the list out and paints it as the event loop would next.
    void Paint() { m_View.repaint(); }
    int RowCount() const { return m_List.RowCount(); }

private:
    ViewSettings m_Settings;
    ViewState m_State;
    ResumeList m_ResumeList;
    QWidget m_View;
    CColorListCtrl m_List{&m_View};
    CImageList m_Icons;
    ScriptedPrompter m_Prompter;
    FolderScreen m_Screen{m_Settings, m_State, m_ResumeList, m_List, m_Prompter, m_View, [] {}};
};

// ---- measuring

struct Times {
    double wallMs;
    double cpuMs; // this thread's processor time: steadier than wall time on a busy machine
    double ownMs; // of it, what is beyond the system calls alone: the program's own work
};

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Wall and processor time of work; the own part is left to the caller.
Times Measure(const std::function<void()>& work) {
    const double cpuStart = ThreadCpuMs();
    const auto wallStart = std::chrono::steady_clock::now();
    work();
    const double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart)
            .count();
    return {wallMs, ThreadCpuMs() - cpuStart, 0};
}

struct Figure {
    const char* name;
    std::function<void()> work;
    std::function<void()> prepare = [] {}; // untimed, before each run
    std::vector<double> wallMs = {};
    std::vector<double> cpuMs = {};
    std::vector<double> ownMs = {};
};

// Opening the folder from a small one: the list had little to let go of.
constexpr const char* kFillFigure = "opening it, ScanFolder + FillFolderList";
// Reading the folder again while the list shows it (after a stop): the old rows and items go.
constexpr const char* kRefillFigure = "reading it again, ScanFolder + FillFolderList";
constexpr const char* kFloorFigure = "floor";
constexpr int kBudgetSize = 100000;
constexpr double kBudgetRatio = 1.2;    // wall time against the floor's
constexpr double kOwnBudgetRatio = 1.3; // own work against the floor's
constexpr double kGrowthBudgetRatio = 1.2;

// The medians of every figure at one size, by figure name.
using LevelTimes = std::map<std::string, Times>;

// Each round measures the system calls alone first; every figure's own work in that round is
// its processor time less theirs.
void MeasureRounds(std::vector<Figure>& figures, const std::function<void()>& systemCalls,
                   int runs) {
    for (int run = -1; run < runs; ++run) { // run -1 warms the caches
        const double systemMs = Measure(systemCalls).cpuMs;
        for (Figure& figure : figures) {
            figure.prepare();
            const Times times = Measure(figure.work);
            if (run >= 0) {
                figure.wallMs.push_back(times.wallMs);
                figure.cpuMs.push_back(times.cpuMs);
                figure.ownMs.push_back(times.cpuMs - systemMs);
            }
        }
    }
}

std::string BudgetAt(const Times& times, const Times& floor) {
    const double wallRatio = times.wallMs / floor.wallMs;
    const double ownRatio = times.ownMs / floor.ownMs;
    return BenchFigures::Verdict(
               BenchFigures::Format("%.1fx the floor's wall time (%.2fx)", kBudgetRatio, wallRatio),
               wallRatio <= kBudgetRatio) +
           "; " +
           BenchFigures::Verdict(BenchFigures::Format("%.1fx the floor's own work (%.2fx)",
                                                      kOwnBudgetRatio, ownRatio),
                                 ownRatio <= kOwnBudgetRatio);
}

void PrintLevel(const std::vector<Figure>& figures, const LevelTimes& medians, int mediaCount) {
    const Times& floor = medians.at(kFloorFigure);
    for (const Figure& figure : figures) {
        if (figure.name == std::string(kFloorFigure))
            continue;
        const Times& times = medians.at(figure.name);
        const bool budgeted =
            mediaCount == kBudgetSize &&
            (figure.name == std::string(kFillFigure) || figure.name == std::string(kRefillFigure));
        BenchFigures::Print(
            {BenchFigures::Format("folder level, %s, %d media files", figure.name, mediaCount),
             times.wallMs, "bare readdir, stat, filter, natural sort", floor.wallMs, "ms",
             budgeted ? BudgetAt(times, floor) : std::string(),
             BenchFigures::Format("processor time %.1f ms, floor %.1f ms, ratio %.2f; own work "
                                  "beyond the system calls alone %.1f ms, floor %.1f ms, ratio "
                                  "%.2f",
                                  times.cpuMs, floor.cpuMs, times.cpuMs / floor.cpuMs, times.ownMs,
                                  floor.ownMs, times.ownMs / floor.ownMs)});
    }
}

LevelTimes MeasureLevel(const QString& base, int mediaCount) {
    QTemporaryDir dir(base + "/ravolo-bench-XXXXXX");
    const QString folder = dir.path();
    const std::string rawFolder = QFile::encodeName(folder).toStdString();
    MakeLevel(rawFolder, mediaCount);

    std::unordered_set<std::string> extensions;
    for (const QString& token :
         FolderScanner::SplitExtensions(kVideo) + FolderScanner::SplitExtensions(kAudio))
        extensions.insert(token.toStdString());
    const std::vector<std::string> mediaNames = MediaNamesAsRead(rawFolder, extensions);

    // A full resume list, as the view searches it for every file; a few of its entries are
    // files of this level.
    ShownFolderScreen shown;
    for (int n = kResumeEntries - 1; n >= 0; --n) {
        MediaItem entry{folder + QStringLiteral("/Show %1 Episode %2.mp4").arg(n % 97).arg(n * 37),
                        MediaItemKind::File};
        shown.Resume().RegisterResumeEntry(entry, static_cast<uint32_t>(n + 1), false);
    }
    const QHash<QString, uint32_t> positions = shown.Resume().PositionsByPath();
    const FolderScanner::ResumeLookup lookup = [&positions](const QString& path) {
        return positions.value(path);
    };
    QTemporaryDir smallFolder(base + "/ravolo-bench-XXXXXX");
    const auto openFromSmall = [&] {
        shown.Show(smallFolder.path());
        shown.SetFolder(folder);
    };

    size_t floorCount = 0;
    qsizetype scanCount = 0;
    std::vector<Figure> figures = {
        {kFloorFigure, [&] { floorCount = FloorScan(rawFolder, extensions); }},
        {"ScanFolder",
         [&] { scanCount = FolderScanner::ScanFolder(folder, kVideo, kAudio, lookup).size(); }},
        {kFillFigure, [&] { shown.Fill(); }, openFromSmall},
        {"opening it with the first paint",
         [&] {
             shown.Fill();
             shown.Paint();
         },
         openFromSmall},
        {kRefillFigure, [&] { shown.Fill(); }, [&] { shown.Show(folder); }},
    };
    MeasureRounds(
        figures, [&] { SystemCallsAlone(rawFolder, mediaNames); },
        BenchFigures::Runs(mediaCount >= kBudgetSize ? 7 : 15));
    if (floorCount != static_cast<size_t>(scanCount) ||
        floorCount != static_cast<size_t>(shown.RowCount()))
        BenchFigures::PrintNote(BenchFigures::Format(
            "  (the floor found %zu entries, ScanFolder %lld, the list shows %d)", floorCount,
            static_cast<long long>(scanCount), shown.RowCount()));
    LevelTimes medians;
    for (const Figure& figure : figures)
        medians[figure.name] = {BenchFigures::Median(figure.wallMs),
                                BenchFigures::Median(figure.cpuMs),
                                BenchFigures::Median(figure.ownMs)};
    PrintLevel(figures, medians, mediaCount);
    return medians;
}

// How the time per file of opening a folder grows from one size to the next, against the
// floor's own growth over the same sizes (the kernel's share does not grow linearly either).
// Judged on processor time: at 1,000 files a reading takes a few milliseconds, and one
// preemption on a busy machine moves its wall time by a whole tick.
void PrintGrowth(const std::map<int, LevelTimes>& levels) {
    for (auto next = std::next(levels.begin()); next != levels.end(); ++next) {
        const auto previous = std::prev(next);
        const double files = static_cast<double>(next->first) / previous->first;
        const auto perFile = [&](const char* figure, double Times::*time) {
            return next->second.at(figure).*time / (previous->second.at(figure).*time * files);
        };
        const double cpu = perFile(kFillFigure, &Times::cpuMs);
        const double floorCpu = perFile(kFloorFigure, &Times::cpuMs);
        BenchFigures::PrintNote(BenchFigures::Format(
            "folder level, growth of the processor time per file of %s from %d to %d media "
            "files: x%.2f, floor x%.2f (wall x%.2f, floor x%.2f); %s",
            kFillFigure, previous->first, next->first, cpu, floorCpu,
            perFile(kFillFigure, &Times::wallMs), perFile(kFloorFigure, &Times::wallMs),
            BenchFigures::Verdict(BenchFigures::Format("%.1fx the floor's growth (%.2fx)",
                                                       kGrowthBudgetRatio, cpu / floorCpu),
                                  cpu / floorCpu <= kGrowthBudgetRatio)
                .c_str()));
    }
}

} // namespace

int main(int argc, char** argv) {
    // The list is a real widget; no display is needed to fill and paint it.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {1000, 10000, 100000};
    std::map<int, LevelTimes> levels;
    for (const int mediaCount : sizes)
        levels[mediaCount] = MeasureLevel(base, mediaCount);
    PrintGrowth(levels);
    return 0;
}
